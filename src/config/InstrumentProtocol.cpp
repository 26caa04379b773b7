// What the presets know of their instruments' protocols besides the value pattern: the status
// words of their lines and the commands their manuals define.

#include "config/Instrument.h"

namespace serwedge::config::ConfigHelper {
namespace {

using K = StatusKind;

std::vector<StatusPattern> table(std::initializer_list<std::pair<const char*, K>> rows) {
    std::vector<StatusPattern> out;
    out.reserve(rows.size());
    for (const auto& [pattern, kind] : rows)
        out.push_back({QString::fromLatin1(pattern), kind});
    return out;
}

// MT-SICS replies: "S S" stable and "S D" dynamic weight, "S I" not executable, "S +" / "S -"
// out of range, "ES" / "ET" / "EL" syntax, transmission and logical errors. The replies to
// the tare and zero commands ("T S" with the tare weight, "Z A") are no reading.
std::vector<StatusPattern> mtSics() {
    return table({
        {R"(^\s*S\s+S\s)", K::STABLE},
        {R"(^\s*S\s+D\s)", K::UNSTABLE},
        {R"(^\s*S\s+I\s*$)", K::ERROR},
        {R"(^\s*S\s+\+\s*$)", K::OVERLOAD},
        {R"(^\s*S\s+-\s*$)", K::UNDERLOAD},
        {R"(^\s*E[STL]\s*$)", K::ERROR},
        {R"(^\s*T\s+S\s)", K::NOT_A_VALUE},
        {R"(^\s*Z\s+A\s*$)", K::NOT_A_VALUE},
        {R"(^\s*[TZ]\s+I\s*$)", K::ERROR},
        {R"(^\s*[TZ]\s+\+\s*$)", K::OVERLOAD},
        {R"(^\s*[TZ]\s+-\s*$)", K::UNDERLOAD},
    });
}

// A&D data format: a two-letter header before the first comma.
std::vector<StatusPattern> andHeaders() {
    return table({
        {R"(^\s*ST,)", K::STABLE},
        {R"(^\s*US,)", K::UNSTABLE},
        {R"(^\s*OL,)", K::OVERLOAD},
        {R"(^\s*QT,)", K::STABLE}, // a counted number of pieces
    });
}

// A whole line holding only a date and a time, such as "14/06/2016 13:26:35".
constexpr const char* kDateTimeLine =
    R"(^\s*\d{1,2}[/.-]\d{1,2}[/.-]\d{2,4}\s+\d{1,2}:\d{2}(?::\d{2})?\s*$)";

} // namespace

std::vector<StatusPattern> Instrument::getStatusPatterns() const {
    switch (static_cast<Value>(ordinal())) {
    case METTLER_DIALOG:
    case METTLER_PRINT:
        return mtSics();
    case AND:
    case AND_SIMPLE:
    case AND_EM:
        return andHeaders();
    case ADAM_AZEXTRA_WEIGHT:
        // Ticket lines: date and time, the column header, the date, time, unit-price and total
        // lines.
        return table({
            {kDateTimeLine, K::NOT_A_VALUE},
            {R"(^\s*(?:DATE|TIME|UNIT|PRICE|TOTAL)\b[^\r\n]*\s*$)", K::NOT_A_VALUE},
        });
    case ADAM_GC_WEIGHT:
    case ADAM_GC_PCS:
        // The same ticket, whichever of its values is typed.
        return table({
            {R"(^\s*(?:Date|Time|Scale ID|User ID)\b[^\r\n]*\s*$)", K::NOT_A_VALUE},
        });
    case ADAM_CPWPLUS:
        return table({{R"(^\s*add:[^\r\n]*\s*$)", K::NOT_A_VALUE}});
    case KERN_RPB:
        // A unit price such as "0.34 EUR/kg".
        return table({{R"(^\s*[-+]?[0-9]*[.,]?[0-9]+\s*[A-Z]{3}/[^\r\n]*\s*$)", K::NOT_A_VALUE}});
    case WEDDERBURN:
        return table({{kDateTimeLine, K::NOT_A_VALUE}});
    default:
        return {};
    }
}

QStringList Instrument::getRequestCommands() const {
    switch (static_cast<Value>(ordinal())) {
    case METTLER_DIALOG:
        // MT-SICS: the weight at once, or the next stable weight.
        return {QStringLiteral("SI<13><10>"), QStringLiteral("S<13><10>")};
    case AND:
    case AND_SIMPLE:
    case AND_EM:
        return {QStringLiteral("Q<13><10>"), QStringLiteral("S<13><10>")};
    case OHAUS:
    case OHAUSSPU:
        return {QStringLiteral("IP<13><10>")};
    case KERND_440E:
    case KERN_572:
    case KERND_DE:
    case KERN_DS:
    case KERN_FKB:
    case KERN_KB_N:
    case KERN_KFB:
        return {QStringLiteral("w"), QStringLiteral("s")};
    case SARTORIUS:
        return {QStringLiteral("<27>P<13><10>")};
    case MITUTOYO: {
        // The data command, in the writing of the log.
        QString rendered;
        for (const QChar c : getDataCommand()) {
            if (c.unicode() < 32 || c.unicode() > 126)
                rendered += QStringLiteral("<%1>").arg(c.unicode());
            else
                rendered += c;
        }
        return {rendered};
    }
    default:
        return {};
    }
}

QString Instrument::getRequestCommand() const {
    const QStringList commands = getRequestCommands();
    return commands.isEmpty() ? QString() : commands.front();
}

RequestMode Instrument::getDefaultRequestMode() const {
    // The Mitutoyo sends nothing before its data command, which has always gone out on start.
    return ordinal() == MITUTOYO ? RequestMode::ON_START : RequestMode::NONE;
}

QString Instrument::getTareCommand() const {
    switch (static_cast<Value>(ordinal())) {
    case METTLER_DIALOG:
    case AND:
    case AND_SIMPLE:
    case AND_EM:
    case OHAUS:
    case OHAUSSPU:
        return QStringLiteral("T<13><10>");
    case KERND_440E:
    case KERN_572:
    case KERND_DE:
    case KERN_DS:
    case KERN_FKB:
    case KERN_KB_N:
    case KERN_KFB:
        return QStringLiteral("t");
    default:
        return {};
    }
}

QString Instrument::getZeroCommand() const {
    switch (static_cast<Value>(ordinal())) {
    case METTLER_DIALOG:
    case AND:
    case AND_SIMPLE:
    case AND_EM:
    case OHAUS:
    case OHAUSSPU:
        return QStringLiteral("Z<13><10>");
    default:
        return {};
    }
}

} // namespace serwedge::config::ConfigHelper
