#pragma once

#include "serwedge/UiPrompts.h"

#include <QString>

class QWidget;

namespace serwedge {

// Every modal message, question and file dialog of the window goes through here, so that tests
// can answer them without a modal loop. The settings dialogs and the settings transfer see the
// same seam as UiPrompts: its messages and questions become message() and question(), its file
// dialogs are the platform's unless a replacement overrides them.
class Dialogs : public UiPrompts {
public:
    enum class Kind { Information, Warning, Error };

    ~Dialogs() override = default;
    virtual void message(QWidget* owner, const QString& title, const QString& text, Kind kind) = 0;
    // A yes/no question; true for yes.
    virtual bool question(QWidget* owner, const QString& title, const QString& text) = 0;

    // ---- UiPrompts ----
    QString saveFileName(QWidget* parent, const QString& title, const QString& proposedName,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    void showError(QWidget* parent, const QString& text, const QString& title) final {
        message(parent, title, text, Kind::Error);
    }
    void showWarning(QWidget* parent, const QString& text, const QString& title) final {
        message(parent, title, text, Kind::Warning);
    }
    void showInformation(QWidget* parent, const QString& text, const QString& title) final {
        message(parent, title, text, Kind::Information);
    }
    bool askYesNo(QWidget* parent, const QString& text, const QString& title) final {
        return question(parent, title, text);
    }

    // The dialogs in use: modal message boxes unless replaced.
    static Dialogs& current();
    // Replaces the dialogs (the caller keeps ownership); nullptr restores the message boxes.
    static void install(Dialogs* dialogs);
    // Prompts that always forward to current(), for objects that keep a reference to them.
    static UiPrompts& prompts();
};

} // namespace serwedge
