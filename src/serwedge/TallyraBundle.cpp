#include "serwedge/TallyraBundle.h"

namespace serwedge {

Catalogue& tallyraBundle() {
    static Catalogue bundle(QStringLiteral("tallyra"), QStringLiteral("serwedge.Tallyra"),
                            {
                                "error",
                                "WeightToKeyFrame2.statusJLabel.text",
                                // update check and links
                                "checking.for.update",
                                "update.check.failed",
                                "update.available",
                                "link.open.problem",
                                "link.open.problem.title",
                                // port detection dialog
                                "AutoPortDialog.this.title",
                                "AutoPortDialog.okButton.text",
                                "AutoPortDialog.okButton.textCancel",
                                "AutoPortDialog.okButton.textClose",
                                // field checks
                                "error.math.operand",
                                "error.decimal.places",
                                "error.edit.numCharacters",
                                "error.edit.removeCharacters",
                                "error.edit.everyXValues",
                                "error.intercharacter.delay",
                                "terminator.must.be.between.0.and.255",
                                "ignore.error",
                                "invalid.expression",
                                // settings export and import
                                "file.already.exists.overwrite",
                                "overwrite",
                                "configuration.exported.to.file.n",
                                "export.successful",
                                "export.failed",
                                "import.failed",
                                "import.apply.and.exit",
                                "restart.required",
                                "export.settings.dialog.title",
                                "import.settings.dialog.title",
                                "settings.file.filter",
                                // duplicate suppression dialog
                                "IgnoreDialog.this.title",
                                "IgnoreDialog.label1.text",
                                "IgnoreDialog.label2.text",
                                "IgnoreDialog.unitLabel.text",
                                "IgnoreDialog.label3.text",
                                "IgnoreDialog.ignoreTimeLimitTextField.toolTipText",
                                "IgnoreDialog.ignoreDifferenceTextField.toolTipText",
                                "IgnoreDialog.okButton.text",
                                "IgnoreDialog.okButton.toolTipText",
                                "IgnoreDialog.cancelButton.text",
                                "IgnoreDialog.cancelButton.toolTipText",
                                "CustomRegExDialog.this.title",
                                // custom expression dialog
                                "CustomRegExDialog.label2.text",
                                "CustomRegExDialog.label3.text",
                                "CustomRegExDialog.label4.text",
                                "CustomRegExDialog.regExLabel.text",
                                "CustomRegExDialog.regExTextArea.toolTipText",
                                "CustomRegExDialog.sampleLabel.text",
                                "CustomRegExDialog.sampleTextField.toolTipText",
                                "CustomRegExDialog.resultLabel.text",
                                "CustomRegExDialog.preview.instrumentPattern",
                                "CustomRegExDialog.preview.noSample",
                                "CustomRegExDialog.preview.captured",
                                "CustomRegExDialog.preview.noMatch",
                                "CustomRegExDialog.preview.doesNotCompile",
                                "CustomRegExDialog.preview.noSuchGroup",
                                "CustomRegExDialog.preview.groupNotTaken",
                                "CustomRegExDialog.preview.matchAborted",
                                "CustomRegExDialog.okButton.text",
                                "CustomRegExDialog.okButton.toolTipText",
                                "CustomRegExDialog.cancelButton.text",
                                "CustomRegExDialog.cancelButton.toolTipText",
                            });
    return bundle;
}

} // namespace serwedge
