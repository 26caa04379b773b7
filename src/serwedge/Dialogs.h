#pragma once

#include <QString>

class QWidget;

namespace serwedge {

// Every modal message and question of the window goes through here, so that tests can answer
// them without a modal loop.
class Dialogs {
public:
    enum class Kind { Information, Warning, Error };

    virtual ~Dialogs() = default;
    virtual void message(QWidget* owner, const QString& title, const QString& text, Kind kind) = 0;
    // A yes/no question; true for yes.
    virtual bool question(QWidget* owner, const QString& title, const QString& text) = 0;

    // The dialogs in use: modal message boxes unless replaced.
    static Dialogs& current();
    // Replaces the dialogs (the caller keeps ownership); nullptr restores the message boxes.
    static void install(Dialogs* dialogs);
};

} // namespace serwedge
