#pragma once

#include "worker/AutoPortWorker.h"
#include "worker/AutoPortWorkerView.h"

#include <QDialog>

#include <functional>
#include <memory>

class QDialogButtonBox;
class QPushButton;
class QTextEdit;

namespace serwedge {

// "Auto-detect port": runs automatic port detection over the given ports and shows its
// messages. The single button cancels a running search (and then reads "Close"), and closes the
// dialog once the search has ended; closing the window does the same.
class AutoPortDialog : public QDialog, public worker::AutoPortWorkerView {
public:
    // Receives the text that becomes the selected item of the main window's port list.
    using PortSelector = std::function<void(const QString& portText)>;

    // Builds the dialog and starts the search at once (the caller's event loop delivers its
    // messages).
    AutoPortDialog(QWidget* owner, const QStringList& ports, PortSelector selectPort);
    ~AutoPortDialog() override;

    // The friendly form "name: description - manufacturer" from the driver records, or the
    // plain name when no record has it.
    static QString friendlyPortText(const QString& portName);

    // AutoPortWorkerView
    void setButtonToCancel() override;
    void setButtonToClose() override;
    void setPort(const QString& portName) override;
    void update(const QString& text, Style style = Style::Plain) override;

    QPushButton* button() const { return okButton; }
    QString messages() const;
    bool searchEnded() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void okButtonActionPerformed();
    // Cancels a running search; false when it has ended.
    bool cancelSearch();

    QWidget* owner;
    PortSelector selectPort_;
    std::unique_ptr<worker::AutoPortWorker> worker;
    QWidget* dialogPane = nullptr;
    QDialogButtonBox* buttonBar = nullptr;
    QPushButton* okButton = nullptr;
    QWidget* panel2 = nullptr;
    QTextEdit* textPane1 = nullptr;
};

} // namespace serwedge
