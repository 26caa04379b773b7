#pragma once

#include <QString>

class QWidget;

namespace serwedge {

// Every file dialog, message box and question of the settings user interface goes through this
// seam, so that tests answer them without modal loops. QtUiPrompts is the real one.
class UiPrompts {
public:
    virtual ~UiPrompts() = default;

    // A save-file dialog proposing the file name; the chosen path, or "" when cancelled. The
    // dialog does not ask about existing files: the caller does.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& proposedName,
                                 const QString& filter) = 0;
    // An open-file dialog; the chosen path, or "" when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    virtual void showError(QWidget* parent, const QString& message, const QString& title) = 0;
    virtual void showWarning(QWidget* parent, const QString& message, const QString& title) = 0;
    virtual void showInformation(QWidget* parent, const QString& message, const QString& title) = 0;
    // A yes/no question; true for yes.
    virtual bool askYesNo(QWidget* parent, const QString& question, const QString& title) = 0;
};

// Shows a modal message box of the platform. The text is shown as plain text whatever it holds:
// messages carry file contents, port names and texts from servers, never markup. With yes and
// no offered, answers true for yes (no is the default button).
bool showPlainMessageBox(QWidget* parent, int icon, const QString& title, const QString& text,
                         bool yesNo = false);

// File dialogs and message boxes of the platform, modal to the parent.
class QtUiPrompts : public UiPrompts {
public:
    QString saveFileName(QWidget* parent, const QString& title, const QString& proposedName,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    void showError(QWidget* parent, const QString& message, const QString& title) override;
    void showWarning(QWidget* parent, const QString& message, const QString& title) override;
    void showInformation(QWidget* parent, const QString& message, const QString& title) override;
    bool askYesNo(QWidget* parent, const QString& question, const QString& title) override;
};

} // namespace serwedge
