#include "config/Instrument.h"

#include "config/Catalogue.h"
#include "config/Config.h"
#include "config/ConfigBundle.h"

namespace serwedge::config::ConfigHelper {
namespace {

struct LineSettings {
    int bitRate;
    int dataBits;
    int parity;
    int stopBits;
    int terminator;
};

// Display text: a literal, or a key of the configuration catalogue.
struct Display {
    const char* text;
    bool isKey;
};

constexpr LineSettings kDefaultLine{BitRates::BR_9600, DataBits::LN_8BITS, Parity::NONE,
                                    StopBits::ST_1BITS, 13};

const char* const kDefaultPattern = R"re(([-+]?\s*[0-9]*[\.,]?[0-9]+))re";
const char* const kAndPattern = R"re(([-+]+[0-9]*[\.,]?[0-9]+))re";
const char* const kAdamLabelPattern =
    R"re(([-+]?\s*[0-9]*[\.,]?[0-9]+)\s?(kg|g|lb|oz|pcs|ct|d|GN|ozt|dwt|MM|TlH|TlC|Tlt|t|N|g2|TlJ))re";
// One capture group of the printable ASCII characters 32 to 126.
const char* const kBarcodeCompletePattern =
    R"re(([] !"#$%&'()*+,-./\d:;<=>?@A-Z\[\\^_`a-z{|}~]+))re";

Display displayOf(Instrument::Value v) {
    using I = Instrument;
    switch (v) {
    case I::GENERIC:
        return {"generic", true};
    case I::BARCODE:
        return {"barcode_numeric", true};
    case I::BARCODE_ALPHA:
        return {"barcode_alphanumeric", true};
    case I::BARCODE_ALPHA_COMPLETE:
        return {"barcode_alphanumeric_complete", true};
    case I::AND:
        return {"A&D", false};
    case I::AND_SIMPLE:
        return {"A&D (no handshaking)", false};
    case I::AND_EM:
        return {"A&D EM", false};
    case I::ADAM_AZEXTRA_WEIGHT:
        return {"adam_azextra_weight", true};
    case I::ADAM_CBK:
        return {"Adam CBK/GBK/GFK", false};
    case I::ADAM_CPWPLUS:
        return {"Adam CPWplus", false};
    case I::ADAM_GC_WEIGHT:
        return {"adam_gbc_gfc_weight", true};
    case I::ADAM_GC_PCS:
        return {"adam_gbc_gfc_pcs", true};
    case I::ADAM_HCB:
        return {"Adam Highland (HCB)", false};
    case I::ADAM_LABEL:
        return {"Adam label format", false};
    case I::KERND_440E:
        return {"Kern 440", false};
    case I::KERN_572:
        return {"Kern 572", false};
    case I::KERND_DE:
        return {"Kern DE", false};
    case I::KERN_DS:
        return {"Kern DS", false};
    case I::KERN_FKB:
        return {"Kern FKB", false};
    case I::KERN_KB_N:
        return {"Kern KB-N", false};
    case I::KERN_KFB:
        return {"Kern KFB/KFN-TM/IFB", false};
    case I::KERN_MPS:
        return {"Kern MPS / MPT / MXS / MWS / MTS / MCB", false};
    case I::KERN_RPB:
        return {"kern_rpb_weight", true};
    case I::KEYENCE_IL:
        return {"Keyence IL", false};
    case I::METTLER_DIALOG:
        return {"Mettler Toledo Dialog", false};
    case I::METTLER_PRINT:
        return {"Mettler Toledo Print", false};
    case I::MITUTOYO:
        return {"Mitutoyo 264-007", false};
    case I::MITUTOYO_LSM_6200:
        return {"Mitutoyo LSM-6200", false};
    case I::MYWEIGH_HD:
        return {"MyWeigh HD", false};
    case I::OHAUS:
        return {"Ohaus", false};
    case I::OHAUSSPU:
        return {"Ohaus SPU,TA,NV", false};
    case I::PRECISA:
        return {"Precisa", false};
    case I::SARTORIUS:
        return {"Sartorius", false};
    case I::SCHLAGE_HANDPUNCH:
        return {"Schlage HandPunch (employee ID)", false};
    case I::TANITA_TL280:
        return {"Tanita TL-280/TL-290", false};
    case I::WEDDERBURN:
        return {"Wedderburn", false};
    }
    return {"", false};
}

LineSettings lineOf(Instrument::Value v) {
    using I = Instrument;
    constexpr int B1200 = BitRates::BR_1200, B2400 = BitRates::BR_2400, B4800 = BitRates::BR_4800,
                  B9600 = BitRates::BR_9600;
    constexpr int D7 = DataBits::LN_7BITS, D8 = DataBits::LN_8BITS;
    constexpr int S1 = StopBits::ST_1BITS;
    switch (v) {
    case I::GENERIC:
    case I::BARCODE:
    case I::BARCODE_ALPHA:
    case I::BARCODE_ALPHA_COMPLETE:
    case I::ADAM_CPWPLUS:
        return kDefaultLine;
    case I::AND:
        return {B2400, D7, Parity::EVEN, S1, 10};
    case I::AND_SIMPLE:
        return lineOf(I::AND); // borrowed from A&D
    case I::AND_EM:
        return {B9600, D8, Parity::NONE, S1, 10};
    case I::ADAM_AZEXTRA_WEIGHT:
    case I::ADAM_CBK:
    case I::ADAM_GC_WEIGHT:
    case I::ADAM_GC_PCS:
        return {B4800, D8, Parity::NONE, S1, 10};
    case I::KERND_440E:
    case I::KERND_DE:
    case I::KERN_DS:
    case I::KERN_FKB:
    case I::KERN_KB_N:
        return lineOf(I::KERN_572); // borrowed from Kern 572
    case I::METTLER_PRINT:
        return {B2400, D7, Parity::EVEN, S1, 10};
    case I::MITUTOYO:
        return {B2400, D8, Parity::NONE, S1, 13};
    case I::MYWEIGH_HD:
        return {B9600, D8, Parity::SPACE, S1, 13};
    case I::OHAUSSPU:
        return {B2400, D7, Parity::NONE, S1, 10};
    case I::PRECISA:
        return {B9600, D7, Parity::EVEN, S1, 10};
    case I::SARTORIUS:
        return {B1200, D7, Parity::ODD, S1, 10};
    case I::ADAM_HCB:
    case I::ADAM_LABEL:
    case I::KERN_572:
    case I::KERN_KFB:
    case I::KERN_MPS:
    case I::KERN_RPB:
    case I::KEYENCE_IL:
    case I::METTLER_DIALOG:
    case I::MITUTOYO_LSM_6200:
    case I::OHAUS:
    case I::SCHLAGE_HANDPUNCH:
    case I::TANITA_TL280:
    case I::WEDDERBURN:
        return {B9600, D8, Parity::NONE, S1, 10};
    }
    return kDefaultLine;
}

} // namespace

QString Instrument::defaultPattern() {
    return QString::fromLatin1(kDefaultPattern);
}

int Instrument::getCaptureGroup() const {
    return 1;
}

QString Instrument::getDataCommand() const {
    if (ordinal() == MITUTOYO)
        return QStringLiteral("1\r");
    return {};
}

Config Instrument::getDefaultConfig() const {
    const LineSettings line = lineOf(*this);
    Config c;
    c.setBitRate(line.bitRate);
    c.setDataBits(line.dataBits);
    c.setStopBits(line.stopBits);
    c.setParity(line.parity);
    c.setInputTerminator(line.terminator);
    return c;
}

std::optional<QString> Instrument::getDefaultMessage() const {
    const char* key = nullptr;
    switch (static_cast<Value>(ordinal())) {
    case GENERIC:
        key = "generic.defaultMessage";
        break;
    case BARCODE:
        key = "barcode_numeric.defaultMessage";
        break;
    case BARCODE_ALPHA:
        key = "barcode_alphanumeric.defaultMessage";
        break;
    case BARCODE_ALPHA_COMPLETE:
        key = "barcode_alphanumeric_complete.defaultMessage";
        break;
    case AND_EM:
        key = "aandd.em.defaultmessage";
        break;
    case ADAM_AZEXTRA_WEIGHT:
        key = "adam_azextra.defaultMessage";
        break;
    case ADAM_CBK:
        key = "adam_cbk.defaultMessage";
        break;
    case ADAM_CPWPLUS:
        key = "adam_cpwplus.defaultMessage";
        break;
    case ADAM_HCB:
        key = "adam_hcb.defaultMessage";
        break;
    case KERN_RPB:
        key = "kern_rpb.defaultMessage";
        break;
    case MYWEIGH_HD:
        key = "myweigh_hd.defaultMessage";
        break;
    case SARTORIUS:
        key = "sartorius.defaultMessage";
        break;
    default:
        return std::nullopt;
    }
    return configBundle().getString(key);
}

InstrumentType Instrument::getInstrumentType() const {
    switch (static_cast<Value>(ordinal())) {
    case BARCODE:
    case BARCODE_ALPHA:
    case BARCODE_ALPHA_COMPLETE:
        return InstrumentType::TEXT;
    default:
        return InstrumentType::NUMBER;
    }
}

KeyMapType Instrument::getKeyMapType() const {
    switch (static_cast<Value>(ordinal())) {
    case BARCODE_ALPHA:
        return KeyMapType::ALPHANUMERIC_BASIC;
    case BARCODE_ALPHA_COMPLETE:
        return KeyMapType::ALPHANUMERIC_COMPLETE;
    default:
        return KeyMapType::NUMERIC;
    }
}

QString Instrument::getPattern() const {
    switch (static_cast<Value>(ordinal())) {
    case BARCODE_ALPHA:
        return QStringLiteral(R"re(([\dA-Z]+))re");
    case BARCODE_ALPHA_COMPLETE:
        return QString::fromLatin1(kBarcodeCompletePattern);
    case AND:
        return QString::fromLatin1(kAndPattern);
    case AND_SIMPLE:
    case AND_EM:
        return Instrument(AND).getPattern();
    case ADAM_AZEXTRA_WEIGHT:
        return QStringLiteral(R"re(([-+]?\s*[0-9]*[\.,]?[0-9]+)kg)re");
    case ADAM_GC_WEIGHT:
        return QStringLiteral(R"re(Wt\s?([-+]?\s*[0-9]*[\.,]?[0-9]+))re");
    case ADAM_GC_PCS:
        return QStringLiteral(R"re(([-+]?\s*[0-9]*[\.,]?[0-9]+)\s?(pcs))re");
    case ADAM_LABEL:
        return QString::fromLatin1(kAdamLabelPattern);
    case KERN_MPS:
        return QStringLiteral(R"re(^N.*?(-?\s*[0-9]*[\.,]?[0-9]+)\s*kg)re");
    case KERN_RPB:
        return QStringLiteral(R"re(^N:\s*([0-9]*\.?[0-9]+))re");
    case KEYENCE_IL:
        return QStringLiteral(R"re(([+-]+\d*\.?\d+))re");
    case MITUTOYO:
        return QStringLiteral(R"re(01A([-+]?\s*[0-9]*[\.,]?[0-9]+))re");
    case MITUTOYO_LSM_6200:
        return QStringLiteral(R"re(([-+]?\s*[0-9]*\.+[0-9]+))re");
    case SCHLAGE_HANDPUNCH:
        return QStringLiteral(R"re(\(\s*([0-9]*)\))re");
    case TANITA_TL280:
        return QStringLiteral(R"re(Wg,([-+]?\s*[0-9]*[\.,]?[0-9]+))re");
    case WEDDERBURN:
        return QStringLiteral(R"re(^0(-?\s+[0-9]*\.?[0-9]+))re");
    default:
        return defaultPattern();
    }
}

std::vector<std::pair<QString, QString>> Instrument::getTestStrings() const {
    using P = std::pair<QString, QString>;
    switch (static_cast<Value>(ordinal())) {
    case BARCODE_ALPHA_COMPLETE: {
        const QString own = QString::fromLatin1(kBarcodeCompletePattern);
        return {P{own, own}, P{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                P{"1234567890", "1234567890"}, P{" ", " "}};
    }
    case AND:
        return {P{"ST, +00012.34 kg", "+00012.34"}, P{"US, -00012,45 g", "-00012,45"},
                P{"ST, +00000101 PC", "+00000101"}, P{"ST, 12345,67 kg", ""}};
    case AND_SIMPLE:
    case AND_EM:
        return Instrument(AND).getTestStrings();
    case ADAM_AZEXTRA_WEIGHT:
        return {P{"10/06/2016   03:52:47\r\n   UNIT PRICE        NET      TOTAL\r\n"
                  "-------------------------------------\r\n"
                  "?      4.45/100g    0.058kg ?    2.58\r\n\r\n\r\n\r\n",
                  "    0.058"},
                P{"\r\n\r\nDATE   10/06/2016\r\nTIME   04:18:39\r\n\r\nUNIT\r\nPRICE ?   "
                  "33.43/100g\r\n\r\nNET.      1.234kg\r\n\r\nTOTAL ?  412.53\r\n\r\n\r\n\r\n",
                  "      1.234"},
                P{"   1.234kg\r\n", "   1.234"}};
    case ADAM_CBK:
        return {P{"  1.9999 kg\n", "  1.9999"}, P{"  -1.8999 kg\n", "-1.8999"}};
    case ADAM_CPWPLUS:
        return {P{"add:   A\n", ""}, P{"G/W:+ 60.24   kg\n\n\n\n", "+ 60.24"}};
    case ADAM_GC_WEIGHT:
        return {P{"Date   07/09/2010\r", ""},
                P{"Time   16:20:15\r", ""},
                P{"Scale ID         \r", ""},
                P{"User ID          \r", ""},
                P{"Gross Wt   0.0020 kg\r", "  0.0020"},
                P{"Net Wt     0.0845 kg\r", "    0.0845"}};
    case KERN_MPS:
        return {P{"NET  WEIGHT  3.3kg\n", "  3.3"}, P{"N  60.24 kg\n", "  60.24"}};
    case KERN_RPB:
        return {P{"N:    0.404 kg\r", "0.404"}, P{"   0.34 EUR/kg\r", ""},
                P{"N:  4000 g\r", "4000"}};
    case KEYENCE_IL:
        return {P{"DR,08,-99.998\r", "-99.998"}, P{"DR,02,+123.567\r", "+123.567"},
                P{"DR,02,123.567\r", ""}};
    case MITUTOYO:
        return {P{"01A+001.1920\r", "+001.1920"}, P{"01A-001.1805", "-001.1805"}, P{"+123.45", ""}};
    case MITUTOYO_LSM_6200:
        return {P{"P00, 12.3456\r\n", " 12.3456"}, P{"12.3456", "12.3456"},
                P{"P00, +012.3456", "+012.3456"}};
    case SCHLAGE_HANDPUNCH:
        return {P{"021   001   15:27:00  06/29/16  IDENTITY VERIFIED FOR ID ( 999)", "999"}};
    case TANITA_TL280:
        return {P{R"({0,16,~0,1,MO,"TL-280",Wg,123,Pt,0)", "123"},
                P{R"({0,16,~0,1,MO,"TL-280",Wg,-12.3,Pt,0)", "-12.3"}};
    case WEDDERBURN:
        return {P{"\nA    2.10", ""}, P{"0    2.45", "    2.45"},
                P{"4-    0.35", ""},  P{"14/06/2016 13:26:35", ""},
                P{"1", ""},           P{"B@G", ""}};
    default:
        return {P{QString(""), QString("")}};
    }
}

QString Instrument::toPlainString() const {
    const Display d = displayOf(*this);
    return d.isKey ? configBundle().getString(d.text) : QString::fromUtf8(d.text);
}

QString Instrument::toString() const {
    if (getInstrumentType() == InstrumentType::TEXT)
        return QStringLiteral("<html><body><i>") + toPlainString() +
               QStringLiteral("</i></body></html>");
    return toPlainString();
}

} // namespace serwedge::config::ConfigHelper
