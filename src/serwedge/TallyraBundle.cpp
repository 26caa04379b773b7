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
                                // start with the desktop session
                                "WeightToKeyFrame2.startWithSessionCheckBox.text",
                                "WeightToKeyFrame2.startWithSessionCheckBox.toolTipText",
                                "autostart.change.failed",
                            });
    return bundle;
}

} // namespace serwedge
