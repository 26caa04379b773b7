#include "serwedge/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace serwedge {

namespace {

class MessageBoxes : public Dialogs {
public:
    void message(QWidget* owner, const QString& title, const QString& text, Kind kind) override {
        const QMessageBox::Icon icon = kind == Kind::Information ? QMessageBox::Information
                                       : kind == Kind::Warning   ? QMessageBox::Warning
                                                                 : QMessageBox::Critical;
        showPlainMessageBox(owner, icon, title, text);
    }
    bool question(QWidget* owner, const QString& title, const QString& text) override {
        return showPlainMessageBox(owner, QMessageBox::Question, title, text, true);
    }
};

MessageBoxes& messageBoxes() {
    static MessageBoxes boxes;
    return boxes;
}

Dialogs* installed = nullptr;

class CurrentPrompts : public UiPrompts {
public:
    QString saveFileName(QWidget* parent, const QString& title, const QString& proposedName,
                         const QString& filter) override {
        return Dialogs::current().saveFileName(parent, title, proposedName, filter);
    }
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override {
        return Dialogs::current().openFileName(parent, title, filter);
    }
    void showError(QWidget* parent, const QString& text, const QString& title) override {
        Dialogs::current().showError(parent, text, title);
    }
    void showWarning(QWidget* parent, const QString& text, const QString& title) override {
        Dialogs::current().showWarning(parent, text, title);
    }
    void showInformation(QWidget* parent, const QString& text, const QString& title) override {
        Dialogs::current().showInformation(parent, text, title);
    }
    bool askYesNo(QWidget* parent, const QString& text, const QString& title) override {
        return Dialogs::current().askYesNo(parent, text, title);
    }
};

} // namespace

QString Dialogs::saveFileName(QWidget* parent, const QString& title, const QString& proposedName,
                              const QString& filter) {
    // Overwriting is asked by the caller, through this seam.
    return QFileDialog::getSaveFileName(parent, title, QDir::current().filePath(proposedName),
                                        filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString Dialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QDir::currentPath(), filter);
}

UiPrompts& Dialogs::prompts() {
    static CurrentPrompts forwarding;
    return forwarding;
}

Dialogs& Dialogs::current() {
    return installed ? *installed : messageBoxes();
}

void Dialogs::install(Dialogs* dialogs) {
    installed = dialogs;
}

} // namespace serwedge
