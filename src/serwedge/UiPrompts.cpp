#include "serwedge/UiPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace serwedge {

QString QtUiPrompts::saveFileName(QWidget* parent, const QString& title,
                                  const QString& proposedName, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QDir::current().filePath(proposedName),
                                        filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtUiPrompts::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QDir::currentPath(), filter);
}

bool showPlainMessageBox(QWidget* parent, int icon, const QString& title, const QString& text,
                         bool yesNo) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (yesNo)
        box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtUiPrompts::showError(QWidget* parent, const QString& message, const QString& title) {
    showPlainMessageBox(parent, QMessageBox::Critical, title, message);
}

void QtUiPrompts::showWarning(QWidget* parent, const QString& message, const QString& title) {
    showPlainMessageBox(parent, QMessageBox::Warning, title, message);
}

void QtUiPrompts::showInformation(QWidget* parent, const QString& message, const QString& title) {
    showPlainMessageBox(parent, QMessageBox::Information, title, message);
}

bool QtUiPrompts::askYesNo(QWidget* parent, const QString& question, const QString& title) {
    return showPlainMessageBox(parent, QMessageBox::Question, title, question, true);
}

} // namespace serwedge
