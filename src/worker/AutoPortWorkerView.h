#pragma once

#include <QString>

namespace serwedge::worker {

// The dialog as automatic port detection sees it. Every call comes on the user-interface
// thread.
class AutoPortWorkerView {
public:
    enum class Style { Plain, Emphasised };

    virtual ~AutoPortWorkerView() = default;
    // The dialog's single button reads "Cancel".
    virtual void setButtonToCancel() = 0;
    // The button reads "Close".
    virtual void setButtonToClose() = 0;
    // Makes the port the selected port of the main window.
    virtual void setPort(const QString& portName) = 0;
    // Appends one line to the dialog's message area.
    virtual void update(const QString& text, Style style = Style::Plain) = 0;
};

} // namespace serwedge::worker
