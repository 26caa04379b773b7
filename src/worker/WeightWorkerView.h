#pragma once

#include <QString>

namespace serwedge::worker {

class DataLine;

// The window as the reading worker and the keystroke engine see it.
// logEvent and logImportantEvent may be called from any thread.
class WeightWorkerView {
public:
    virtual ~WeightWorkerView() = default;
    virtual void logEvent(const QString& text) = 0;
    virtual void logImportantEvent(const QString& text) = 0;
    // Switches the window between its idle and running faces; user-interface thread.
    virtual void setConnectedInGUI(bool connected) = 0;
    // One published line, delivered on the user-interface thread.
    virtual void update(const DataLine& line) = 0;
    // After the update calls of one delivered batch: a view that buffers what it shows of the
    // lines passes it on now. User-interface thread.
    virtual void linesDelivered() {}
    // A modal warning owned by the window (the command-line tool prints it).
    virtual void showWarning(const QString& title, const QString& message) = 0;
    // The state of the outputs beyond the keyboard (the MQTT broker) for the status bar; empty
    // when none is on. May be called from any thread.
    virtual void setOutputStatus(const QString& text) { (void)text; }
    // The run's port went away and the run waits for it (text: what the log said, for the
    // window's status and its tray icon), or the port is back (empty text). Any thread.
    virtual void showPortWaiting(const QString& text) { (void)text; }
};

} // namespace serwedge::worker
