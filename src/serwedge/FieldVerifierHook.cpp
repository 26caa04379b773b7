#include "serwedge/FieldVerifierHook.h"

#include "serwedge/UiPrompts.h"
#include "serwedge/util/TallyraBundle.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace serwedge {

FieldVerifierHook::FieldVerifierHook(QLineEdit* field, VerifiedField which, UiPrompts& prompts,
                                     Hooks hooks)
    : QObject(field), field_(field), which_(which), prompts_(prompts), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("FieldVerifierHook"));
    field->installEventFilter(this);
}

FieldVerifierHook* FieldVerifierHook::install(QLineEdit* field, VerifiedField which,
                                              UiPrompts& prompts, Hooks hooks) {
    return new FieldVerifierHook(field, which, prompts, std::move(hooks));
}

FieldVerifierHook* FieldVerifierHook::of(const QLineEdit* field) {
    return field ? field->findChild<FieldVerifierHook*>(QStringLiteral("FieldVerifierHook"),
                                                        Qt::FindDirectChildrenOnly)
                 : nullptr;
}

bool FieldVerifierHook::verify() {
    // A refusal already on its way (the focus just left the field) is reported once, by it.
    if (pending_)
        return false;
    const Verification v = verifyField(which_, field_->text());
    if (v.valid) {
        store(v.text);
        return true;
    }
    refuse(v.messageKey);
    // The focus may leave the field within this same turn (its tab is being left); that loss
    // only brings the focus back, the refusal has been reported.
    reported_ = true;
    QTimer::singleShot(0, this, [this] { reported_ = false; });
    return false;
}

void FieldVerifierHook::store(const QString& text) {
    // Show what is stored (a decimal comma becomes a point).
    if (field_->text() != text)
        field_->setText(text);
    if (hooks_.store)
        hooks_.store(text);
}

void FieldVerifierHook::refuse(const char* messageKey) {
    if (hooks_.isClosing && hooks_.isClosing())
        return;
    reporting_ = true;
    prompts_.showError(field_->window(), tallyraBundle().getString(messageKey),
                       tallyraBundle().getString("error"));
    if (hooks_.selectTab)
        hooks_.selectTab();
    reporting_ = false;
}

bool FieldVerifierHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched != field_ || event->type() != QEvent::FocusOut || reporting_)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    const Verification v = verifyField(which_, field_->text());
    if (v.valid) {
        store(v.text);
        return false;
    }
    if (hooks_.isClosing && hooks_.isClosing())
        return false;
    // Report after the focus change has finished: a modal message box opened from inside a
    // focus event would itself move the focus while it is being moved.
    reporting_ = true;
    pending_ = true;
    const char* key = v.messageKey;
    const bool alreadyReported = reported_;
    QPointer<QLineEdit> field = field_;
    QTimer::singleShot(0, this, [this, key, field, alreadyReported] {
        reporting_ = false;
        if (!field || (hooks_.isClosing && hooks_.isClosing())) {
            pending_ = false;
            return;
        }
        // Still pending while the tab is selected again: a check that this change of tab
        // runs must not report the same refusal a second time.
        if (!alreadyReported)
            refuse(key);
        else if (hooks_.selectTab)
            hooks_.selectTab();
        pending_ = false;
        reporting_ = true; // the focus change below is ours
        field->setFocus(Qt::OtherFocusReason);
        reporting_ = false;
    });
    return false;
}

} // namespace serwedge
