#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace serwedge {

class UiPrompts;

// Edits the two parameters of duplicate suppression: the time limit in milliseconds and the
// tolerated difference between values. "OK" accepts only valid texts (the difference with "."
// as decimal separator) and keeps them as the result; a refusal is reported through the prompts
// ("ignore.error") and the dialog stays open with the texts entered. Cancel and the close box
// discard the edits.
class IgnoreDialog : public QDialog {
public:
    IgnoreDialog(QWidget* owner, const QString& ignoreTimeLimit, const QString& ignoreDifference,
                 UiPrompts& prompts);

    // The accepted texts; valid after the dialog was accepted (result() == Accepted).
    const QString& getIgnoreTimeLimit() const { return resultTimeLimit_; }
    const QString& getIgnoreDifference() const { return resultDifference_; }

    QLineEdit* ignoreTimeLimitTextField() const { return ignoreTimeLimitTextField_; }
    QLineEdit* ignoreDifferenceTextField() const { return ignoreDifferenceTextField_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    void okButtonActionPerformed();

    UiPrompts& prompts_;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    QLineEdit* ignoreTimeLimitTextField_ = nullptr;
    QLineEdit* ignoreDifferenceTextField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QString resultTimeLimit_;
    QString resultDifference_;
};

} // namespace serwedge
