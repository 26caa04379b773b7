#include "serwedge/CustomRegExDialog.h"

#include "serwedge/UiPrompts.h"
#include "serwedge/util/TallyraBundle.h"
#include "worker/DataLine.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace serwedge {

namespace CH = config::ConfigHelper;

namespace {
// Typing pauses this long before the preview runs, so that a slow expression does not hold up
// every keystroke.
constexpr int kPreviewDelayMs = 150;
} // namespace

CustomRegExDialog::CustomRegExDialog(QWidget* owner, const config::Config& config,
                                     UiPrompts& prompts)
    : QDialog(owner), prompts_(prompts), result_(config.getCustomRegEx()) {
    const CH::Instrument instrument = config.getInstrument().value_or(CH::Instrument::getDefault());
    instrumentPattern_ = instrument.getPattern();
    // Text presets always take group 1, numeric presets their own group.
    group_ = instrument.getInstrumentType() == CH::InstrumentType::TEXT
                 ? 1
                 : instrument.getCaptureGroup();
    terminator_ = QChar(static_cast<char16_t>(config.getInputTerminator() & 0xFF));

    setWindowTitle(tallyraBundle().getString("CustomRegExDialog.this.title"));
    setModal(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto* outer = new QVBoxLayout(this);
    for (QLabel** label : {&label2_, &label3_, &label4_}) {
        *label = new QLabel(this);
        (*label)->setWordWrap(true);
        (*label)->setTextFormat(Qt::PlainText);
        outer->addWidget(*label);
    }
    label2_->setText(tallyraBundle().getString("CustomRegExDialog.label2.text"));
    label3_->setText(tallyraBundle().getString("CustomRegExDialog.label3.text"));
    label4_->setText(tallyraBundle().getString("CustomRegExDialog.label4.text"));

    regExLabel_ = new QLabel(tallyraBundle().getString("CustomRegExDialog.regExLabel.text"), this);
    // Without an expression of the user's own, the preset's is the starting point.
    regExTextArea_ = new QPlainTextEdit(
        config.getCustomRegEx().isEmpty() ? instrumentPattern_ : config.getCustomRegEx(), this);
    regExTextArea_->setObjectName(QStringLiteral("regExTextArea"));
    regExTextArea_->setToolTip(
        tallyraBundle().getString("CustomRegExDialog.regExTextArea.toolTipText"));
    regExTextArea_->setFont(fixed);
    regExTextArea_->setTabChangesFocus(true);
    regExLabel_->setBuddy(regExTextArea_);
    outer->addWidget(regExLabel_);
    outer->addWidget(regExTextArea_, 1);

    auto* grid = new QGridLayout();
    sampleLabel_ =
        new QLabel(tallyraBundle().getString("CustomRegExDialog.sampleLabel.text"), this);
    sampleTextField_ = new QLineEdit(this);
    sampleTextField_->setObjectName(QStringLiteral("sampleTextField"));
    sampleTextField_->setToolTip(
        tallyraBundle().getString("CustomRegExDialog.sampleTextField.toolTipText"));
    sampleTextField_->setFont(fixed);
    sampleLabel_->setBuddy(sampleTextField_);
    grid->addWidget(sampleLabel_, 0, 0);
    grid->addWidget(sampleTextField_, 0, 1);
    resultLabel_ =
        new QLabel(tallyraBundle().getString("CustomRegExDialog.resultLabel.text"), this);
    previewLabel_ = new QLabel(this);
    previewLabel_->setObjectName(QStringLiteral("previewLabel"));
    // The preview quotes user text: never read it as markup.
    previewLabel_->setTextFormat(Qt::PlainText);
    previewLabel_->setWordWrap(true);
    previewLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(resultLabel_, 1, 0, Qt::AlignTop);
    grid->addWidget(previewLabel_, 1, 1);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(tallyraBundle().getString("CustomRegExDialog.okButton.text"),
                                   QDialogButtonBox::AcceptRole);
    okButton_->setToolTip(tallyraBundle().getString("CustomRegExDialog.okButton.toolTipText"));
    cancelButton_ =
        buttons->addButton(tallyraBundle().getString("CustomRegExDialog.cancelButton.text"),
                           QDialogButtonBox::RejectRole);
    cancelButton_->setToolTip(
        tallyraBundle().getString("CustomRegExDialog.cancelButton.toolTipText"));
    connect(okButton_, &QPushButton::clicked, this, [this] { okButtonActionPerformed(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    outer->addWidget(buttons);

    // Wide enough for a typical instrument line and the explanations, in characters of the
    // dialog's font rather than pixels.
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
    regExTextArea_->setMinimumHeight(regExTextArea_->fontMetrics().lineSpacing() * 4);

    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(kPreviewDelayMs);
    connect(previewTimer_, &QTimer::timeout, this, [this] { updatePreview(); });
    auto schedule = [this] { previewTimer_->start(); };
    connect(regExTextArea_, &QPlainTextEdit::textChanged, this, schedule);
    connect(sampleTextField_, &QLineEdit::textChanged, this, schedule);
    updatePreview();
}

void CustomRegExDialog::updatePreview() {
    previewTimer_->stop();
    QString own = regExTextArea_->toPlainText();
    if (own == instrumentPattern_)
        own.clear();
    const QString pattern = own.isEmpty() ? instrumentPattern_ : own;
    const QString sample = sampleTextField_->text();
    preview_ =
        PatternPreview::run(pattern, group_, sample.isEmpty() ? sample : sample + terminator_);
    QString shown = describe(preview_);
    if (own.isEmpty())
        shown = tallyraBundle().getString("CustomRegExDialog.preview.instrumentPattern") + shown;
    previewLabel_->setText(shown);
}

QString CustomRegExDialog::previewText() const {
    return previewLabel_->text();
}

QString CustomRegExDialog::describe(const PatternPreview& p) const {
    using Outcome = PatternPreview::Outcome;
    const QString group = QString::number(p.group);
    switch (p.outcome) {
    case Outcome::NoSample:
        return tallyraBundle().getString("CustomRegExDialog.preview.noSample");
    case Outcome::Captured:
        return tallyraBundle().format("CustomRegExDialog.preview.captured",
                                      {group, worker::DataLine::transformControlChars(p.text)});
    case Outcome::NoMatch:
        return tallyraBundle().getString("CustomRegExDialog.preview.noMatch");
    case Outcome::DoesNotCompile:
        return tallyraBundle().format("CustomRegExDialog.preview.doesNotCompile",
                                      {p.text, QString::number(p.offset + 1)});
    case Outcome::NoSuchGroup:
        return tallyraBundle().format("CustomRegExDialog.preview.noSuchGroup", {group});
    case Outcome::GroupNotTaken:
        return tallyraBundle().format("CustomRegExDialog.preview.groupNotTaken", {group});
    case Outcome::MatchAborted:
        return tallyraBundle().getString("CustomRegExDialog.preview.matchAborted");
    }
    return {};
}

void CustomRegExDialog::okButtonActionPerformed() {
    const QString text = regExTextArea_->toPlainText();
    if (!CH::CustomRegEx::valid(text)) {
        prompts_.showError(this, tallyraBundle().getString("invalid.expression"),
                           tallyraBundle().getString("error"));
        return;
    }
    // The preset's expression taken unchanged is no expression of the user's own.
    result_ = text == instrumentPattern_ ? QString() : text;
    accept();
}

} // namespace serwedge
