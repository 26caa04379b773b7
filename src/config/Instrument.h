#pragma once

#include "config/ConfigHelper.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace serwedge::config {
class Config;
}

namespace serwedge::config::ConfigHelper {

// One status pattern of a preset: searched in a received line (terminator included), with the
// reading rules of the value patterns; the first pattern of the table that matches gives the
// line its kind.
struct StatusPattern {
    QString pattern;
    StatusKind kind;
};

// The instrument presets: how a balance, gauge, barcode reader or terminal talks.
class Instrument : public Enumeration<Instrument> {
public:
    enum Value {
        GENERIC,
        BARCODE,
        BARCODE_ALPHA,
        BARCODE_ALPHA_COMPLETE,
        AND,
        AND_SIMPLE,
        AND_EM,
        ADAM_AZEXTRA_WEIGHT,
        ADAM_CBK,
        ADAM_CPWPLUS,
        ADAM_GC_WEIGHT,
        ADAM_GC_PCS,
        ADAM_HCB,
        ADAM_LABEL,
        KERND_440E,
        KERN_572,
        KERND_DE,
        KERN_DS,
        KERN_FKB,
        KERN_KB_N,
        KERN_KFB,
        KERN_MPS,
        KERN_RPB,
        KEYENCE_IL,
        METTLER_DIALOG,
        METTLER_PRINT,
        MITUTOYO,
        MITUTOYO_LSM_6200,
        MYWEIGH_HD,
        OHAUS,
        OHAUSSPU,
        PRECISA,
        SARTORIUS,
        SCHLAGE_HANDPUNCH,
        TANITA_TL280,
        WEDDERBURN
    };
    static constexpr std::array<const char*, 36> kNames{"GENERIC",
                                                        "BARCODE",
                                                        "BARCODE_ALPHA",
                                                        "BARCODE_ALPHA_COMPLETE",
                                                        "AND",
                                                        "AND_SIMPLE",
                                                        "AND_EM",
                                                        "ADAM_AZEXTRA_WEIGHT",
                                                        "ADAM_CBK",
                                                        "ADAM_CPWPLUS",
                                                        "ADAM_GC_WEIGHT",
                                                        "ADAM_GC_PCS",
                                                        "ADAM_HCB",
                                                        "ADAM_LABEL",
                                                        "KERND_440E",
                                                        "KERN_572",
                                                        "KERND_DE",
                                                        "KERN_DS",
                                                        "KERN_FKB",
                                                        "KERN_KB_N",
                                                        "KERN_KFB",
                                                        "KERN_MPS",
                                                        "KERN_RPB",
                                                        "KEYENCE_IL",
                                                        "METTLER_DIALOG",
                                                        "METTLER_PRINT",
                                                        "MITUTOYO",
                                                        "MITUTOYO_LSM_6200",
                                                        "MYWEIGH_HD",
                                                        "OHAUS",
                                                        "OHAUSSPU",
                                                        "PRECISA",
                                                        "SARTORIUS",
                                                        "SCHLAGE_HANDPUNCH",
                                                        "TANITA_TL280",
                                                        "WEDDERBURN"};

    constexpr Instrument(Value v) noexcept : Enumeration(v) {}
    constexpr operator Value() const noexcept { return static_cast<Value>(ordinal()); }

    static Instrument getDefault() { return GENERIC; }

    static QString defaultPattern();

    int getCaptureGroup() const;
    QString getDataCommand() const;
    // A fresh record with the preset's line settings (bit rate, data bits, stop bits, parity
    // and input terminator) on every call.
    Config getDefaultConfig() const;
    std::optional<QString> getDefaultMessage() const;
    InstrumentType getInstrumentType() const;
    KeyMapType getKeyMapType() const;
    QString getPattern() const;
    // Sample lines with the text the pattern's capture group must find ("" = no match).
    std::vector<std::pair<QString, QString>> getTestStrings() const;
    // The preset's status table; empty when its format shows no status words.
    std::vector<StatusPattern> getStatusPatterns() const;
    // The request commands the instrument's manual defines, written as the event log renders
    // control characters ("SI<13><10>"); the first is the one a new setting starts with. Empty
    // when the instrument takes no requests.
    QStringList getRequestCommands() const;
    // The first request command, or the empty text.
    QString getRequestCommand() const;
    // When a new setting sends the request: on start for instruments that send nothing before
    // their data command, never for the others.
    RequestMode getDefaultRequestMode() const;
    // Tare and zero commands in the same writing; empty where the instrument defines none.
    QString getTareCommand() const;
    QString getZeroCommand() const;
    QString toPlainString() const;
    // The list text: the display text, set in italics markup for text presets.
    QString toString() const;
};

} // namespace serwedge::config::ConfigHelper
