#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace serwedge::prefs {
class SettingsStore;
}

namespace serwedge {

class UiPrompts;

// The settings tab's export and import actions. Every dialog goes through the prompts.
class SettingsTransfer {
public:
    struct Hooks {
        // Copies the controls into the record and saves it, so that the store holds exactly the
        // current settings. May throw; the export then fails.
        std::function<void()> saveCurrent;
        // Ends the process with the status, without saving.
        std::function<void(int status)> exit;
    };

    enum class Outcome {
        Cancelled,     // no file chosen, or overwriting declined
        Exported,      // the file was written
        ExitRequested, // imported and the user chose to apply and exit (exit was called)
        Continued,     // imported, but the program goes on with its current record
        Failed,        // reported to the user
    };

    static constexpr int kImportExitStatus = 4;
    static constexpr const char* kProposedFileName = "Tallyra.xml";

    SettingsTransfer(prefs::SettingsStore& store, UiPrompts& prompts, Hooks hooks,
                     QWidget* parent = nullptr);

    // Proposes "Tallyra.xml", asks before overwriting, saves the current settings and writes the
    // settings node to the file; reports success with the path, or "export.failed". A failed
    // write leaves an existing file as it was.
    Outcome exportSettings();

    // Imports a chosen file into the store (which then re-reads it) and asks whether to apply it
    // and exit with status 4; "no" keeps the running record. Failures are reported as
    // "Import failed" and the cause, and leave the store as it was.
    Outcome importSettings();

private:
    prefs::SettingsStore& store_;
    UiPrompts& prompts_;
    Hooks hooks_;
    QWidget* parent_;
};

} // namespace serwedge
