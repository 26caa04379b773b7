#pragma once

#include "serwedge/FieldVerifiers.h"

#include <QObject>

#include <functional>

class QLineEdit;

namespace serwedge {

class UiPrompts;

// Checks a text field when it loses the keyboard focus. A valid text is handed to `store`; a
// refused one is reported with the field's message (titled "error") through the prompts, the
// tab holding the field is selected again (`selectTab`) and the focus goes back into the field,
// so the user corrects it in place. While the window is closing (`isClosing`) nothing is shown.
// Focus that leaves with the whole window (another application, a menu or pop-up) is no loss.
class FieldVerifierHook : public QObject {
public:
    struct Hooks {
        std::function<void(const QString& text)> store; // the accepted, normalised text
        std::function<bool()> isClosing;                // may be empty: never closing
        std::function<void()> selectTab;                // may be empty
    };

    // Installs the hook on the field; it lives as long as the field. The prompts must outlive it.
    static FieldVerifierHook* install(QLineEdit* field, VerifiedField which, UiPrompts& prompts,
                                      Hooks hooks);

    // Runs the check now, as on focus loss but without moving the focus: stores a valid text,
    // or reports the refusal (unless closing) and selects the field's tab. Answers the check.
    // While a refusal from focus loss is still queued, answers false and leaves the report to it.
    bool verify();

    // Whether a refusal made when the field lost the focus is still to be shown.
    bool refusalPending() const { return pending_; }

    // The hook installed on the field, if any.
    static FieldVerifierHook* of(const QLineEdit* field);

    QLineEdit* field() const { return field_; }
    VerifiedField verifiedField() const { return which_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FieldVerifierHook(QLineEdit* field, VerifiedField which, UiPrompts& prompts, Hooks hooks);
    void store(const QString& text);
    void refuse(const char* messageKey);

    QLineEdit* field_;
    VerifiedField which_;
    UiPrompts& prompts_;
    Hooks hooks_;
    bool reporting_ = false; // a refusal is being shown: focus changes it causes are ignored
    bool pending_ = false;   // a refusal from focus loss is queued and not yet shown
    bool reported_ = false;  // verify() reported a refusal in this turn of the event loop
};

} // namespace serwedge
