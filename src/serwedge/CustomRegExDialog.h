#pragma once

#include "config/Config.h"
#include "serwedge/PatternPreview.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace serwedge {

class UiPrompts;

// Edits the user's own extraction expression, starting from the preset's when there is none.
// "OK" accepts an empty text or the preset's own expression unchanged (the instrument's
// expression is then used) or one that compiles and has a capture group; otherwise the prompts
// report "invalid.expression" and the dialog stays open. A sample-line field tries the
// expression as the user types: the preview shows what the current preset's capture group takes
// from the line (as received, followed by the input terminator), or why nothing would be typed.
class CustomRegExDialog : public QDialog {
public:
    // Takes the expression, the preset and the input terminator from the configuration.
    CustomRegExDialog(QWidget* owner, const config::Config& config, UiPrompts& prompts);

    // The accepted expression; valid after the dialog was accepted (result() == Accepted).
    const QString& getCustomRegEx() const { return result_; }

    // Tries the current expression on the current sample and shows the outcome (the fields do
    // this themselves shortly after every change).
    void updatePreview();
    const PatternPreview& preview() const { return preview_; }
    QString previewText() const;

    // The capture group the preview uses: 1 for text presets, else the preset's group.
    int captureGroup() const { return group_; }

    QPlainTextEdit* regExTextArea() const { return regExTextArea_; }
    QLineEdit* sampleTextField() const { return sampleTextField_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    void okButtonActionPerformed();
    QString describe(const PatternPreview& p) const;

    UiPrompts& prompts_;
    QString instrumentPattern_;
    int group_ = 1;
    QChar terminator_;
    QString result_;
    PatternPreview preview_;

    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* regExLabel_ = nullptr;
    QPlainTextEdit* regExTextArea_ = nullptr;
    QLabel* sampleLabel_ = nullptr;
    QLineEdit* sampleTextField_ = nullptr;
    QLabel* resultLabel_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* previewTimer_ = nullptr;
};

} // namespace serwedge
