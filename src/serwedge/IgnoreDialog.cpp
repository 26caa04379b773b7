#include "serwedge/IgnoreDialog.h"

#include "serwedge/FieldVerifiers.h"
#include "serwedge/UiPrompts.h"
#include "serwedge/util/TallyraBundle.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace serwedge {

IgnoreDialog::IgnoreDialog(QWidget* owner, const QString& ignoreTimeLimit,
                           const QString& ignoreDifference, UiPrompts& prompts)
    : QDialog(owner), prompts_(prompts), resultTimeLimit_(ignoreTimeLimit),
      resultDifference_(ignoreDifference) {
    setWindowTitle(tallyraBundle().getString("IgnoreDialog.this.title"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    label1_ = new QLabel(tallyraBundle().getString("IgnoreDialog.label1.text"), this);
    label1_->setWordWrap(true);
    outer->addWidget(label1_);

    auto* grid = new QGridLayout();
    label2_ = new QLabel(tallyraBundle().getString("IgnoreDialog.label2.text"), this);
    ignoreTimeLimitTextField_ = new QLineEdit(ignoreTimeLimit, this);
    ignoreTimeLimitTextField_->setObjectName(QStringLiteral("ignoreTimeLimitTextField"));
    ignoreTimeLimitTextField_->setToolTip(
        tallyraBundle().getString("IgnoreDialog.ignoreTimeLimitTextField.toolTipText"));
    label2_->setBuddy(ignoreTimeLimitTextField_);
    unitLabel_ = new QLabel(tallyraBundle().getString("IgnoreDialog.unitLabel.text"), this);
    grid->addWidget(label2_, 0, 0);
    grid->addWidget(ignoreTimeLimitTextField_, 0, 1);
    grid->addWidget(unitLabel_, 0, 2);

    label3_ = new QLabel(tallyraBundle().getString("IgnoreDialog.label3.text"), this);
    ignoreDifferenceTextField_ = new QLineEdit(ignoreDifference, this);
    ignoreDifferenceTextField_->setObjectName(QStringLiteral("ignoreDifferenceTextField"));
    ignoreDifferenceTextField_->setToolTip(
        tallyraBundle().getString("IgnoreDialog.ignoreDifferenceTextField.toolTipText"));
    label3_->setBuddy(ignoreDifferenceTextField_);
    grid->addWidget(label3_, 1, 0);
    grid->addWidget(ignoreDifferenceTextField_, 1, 1);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    outer->addStretch(1);

    // Room for the explanation on a few lines, in characters of the dialog's font.
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    auto* buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(tallyraBundle().getString("IgnoreDialog.okButton.text"),
                                   QDialogButtonBox::AcceptRole);
    okButton_->setToolTip(tallyraBundle().getString("IgnoreDialog.okButton.toolTipText"));
    okButton_->setDefault(true);
    cancelButton_ = buttons->addButton(tallyraBundle().getString("IgnoreDialog.cancelButton.text"),
                                       QDialogButtonBox::RejectRole);
    cancelButton_->setToolTip(tallyraBundle().getString("IgnoreDialog.cancelButton.toolTipText"));
    // The buttons are wired directly: the box's accepted() would bypass the check.
    connect(okButton_, &QPushButton::clicked, this, [this] { okButtonActionPerformed(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    outer->addWidget(buttons);
}

void IgnoreDialog::okButtonActionPerformed() {
    const Verification difference =
        verifyField(VerifiedField::IgnoreDifference, ignoreDifferenceTextField_->text());
    const Verification timeLimit =
        verifyField(VerifiedField::IgnoreTimeLimit, ignoreTimeLimitTextField_->text());
    if (!timeLimit.valid || !difference.valid) {
        prompts_.showError(this, tallyraBundle().getString("ignore.error"),
                           tallyraBundle().getString("error"));
        return;
    }
    resultTimeLimit_ = timeLimit.text;
    resultDifference_ = difference.text;
    accept();
}

} // namespace serwedge
