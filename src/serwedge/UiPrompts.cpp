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

void QtUiPrompts::showError(QWidget* parent, const QString& message, const QString& title) {
    QMessageBox::critical(parent, title, message);
}

void QtUiPrompts::showWarning(QWidget* parent, const QString& message, const QString& title) {
    QMessageBox::warning(parent, title, message);
}

void QtUiPrompts::showInformation(QWidget* parent, const QString& message, const QString& title) {
    QMessageBox::information(parent, title, message);
}

bool QtUiPrompts::askYesNo(QWidget* parent, const QString& question, const QString& title) {
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace serwedge
