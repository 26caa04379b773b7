#pragma once

#include <QString>

namespace serwedge::util {

// The window as the update check sees it.
class UpdateWorkerView {
public:
    virtual ~UpdateWorkerView() = default;
    // Replaces the status text. A text that begins with "<html>" is rich text, any other text is
    // shown as it is. The update check calls it on the user-interface thread; the window also
    // accepts it from other threads and carries the change out on its own.
    virtual void showStatus(const QString& text) = 0;
};

} // namespace serwedge::util
