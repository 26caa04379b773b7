#include "serwedge/AutoPortDialog.h"

#include "rs232/IOException.h"
#include "rs232/SerialPortLocal.h"
#include "serwedge/util/TallyraBundle.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace serwedge {

AutoPortDialog::AutoPortDialog(QWidget* owner, const QStringList& ports, PortSelector selectPort)
    : QDialog(owner), owner(owner), selectPort_(std::move(selectPort)) {
    setWindowTitle(tallyraBundle().getString("AutoPortDialog.this.title"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    dialogPane = new QWidget(this);
    outer->addWidget(dialogPane);
    auto* paneLayout = new QVBoxLayout(dialogPane);

    panel2 = new QWidget(dialogPane);
    auto* panelLayout = new QVBoxLayout(panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    // A text edit scrolls by itself; it plays the part of the message area and its scroll pane.
    textPane1 = new QTextEdit(panel2);
    textPane1->setReadOnly(true);
    textPane1->setMinimumSize(QSize(360, 180));
    panelLayout->addWidget(textPane1);
    paneLayout->addWidget(panel2, 1);

    buttonBar = new QDialogButtonBox(dialogPane);
    okButton = buttonBar->addButton(tallyraBundle().getString("AutoPortDialog.okButton.text"),
                                    QDialogButtonBox::AcceptRole);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, [this] { okButtonActionPerformed(); });
    paneLayout->addWidget(buttonBar);

    worker = std::make_unique<worker::AutoPortWorker>(this, ports);
    worker->execute();
}

AutoPortDialog::~AutoPortDialog() {
    // The worker goes first: it may still report to this view.
    worker.reset();
}

QString AutoPortDialog::friendlyPortText(const QString& portName) {
    try {
        for (const auto& info : rs232::SerialPortLocal::getDriverInfoList()) {
            if (QString::fromStdString(info.getPortName()) == portName)
                return QStringLiteral("%1: %2 - %3")
                    .arg(portName, QString::fromStdString(info.getDriverDesc()),
                         QString::fromStdString(info.getDriverMfgr()));
        }
    } catch (const rs232::IOException&) {
        // No records on this platform or no listing yet: the plain name.
    }
    return portName;
}

void AutoPortDialog::setButtonToCancel() {
    okButton->setText(tallyraBundle().getString("AutoPortDialog.okButton.textCancel"));
}

void AutoPortDialog::setButtonToClose() {
    okButton->setText(tallyraBundle().getString("AutoPortDialog.okButton.textClose"));
}

void AutoPortDialog::setPort(const QString& portName) {
    if (selectPort_)
        selectPort_(friendlyPortText(portName));
}

void AutoPortDialog::update(const QString& text, Style style) {
    QTextCursor cursor(textPane1->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat plain;
    if (!textPane1->document()->isEmpty())
        cursor.insertText(QStringLiteral("\n"), plain);
    QTextCharFormat format;
    if (style == Style::Emphasised)
        format.setFontWeight(QFont::Bold);
    cursor.insertText(text, format);
    textPane1->setTextCursor(cursor);
    textPane1->ensureCursorVisible();
}

QString AutoPortDialog::messages() const {
    return textPane1->toPlainText();
}

bool AutoPortDialog::searchEnded() const {
    return worker->isFinished();
}

bool AutoPortDialog::cancelSearch() {
    if (worker->isFinished())
        return false;
    worker->cancel(true);
    setButtonToClose();
    return true;
}

void AutoPortDialog::okButtonActionPerformed() {
    if (!cancelSearch())
        close();
}

void AutoPortDialog::closeEvent(QCloseEvent* event) {
    if (cancelSearch())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void AutoPortDialog::reject() {
    // Escape behaves like the button.
    if (!cancelSearch())
        QDialog::reject();
}

} // namespace serwedge
