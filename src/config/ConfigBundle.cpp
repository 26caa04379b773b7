#include "config/ConfigBundle.h"

namespace serwedge::config {

Catalogue& configBundle() {
    static Catalogue bundle(QStringLiteral("config"),
                            QStringLiteral("serwedge.config.ConfigBundle"),
                            {
                                // option enumerations
                                "key.none",
                                "enter",
                                "tab",
                                "right",
                                "down",
                                "delete",
                                "sound.none",
                                "math.none",
                                "multiply",
                                "divide",
                                "dot",
                                "comma",
                                "manual",
                                "auto",
                                "edit.first",
                                "edit.last",
                                "edit.remove",
                                "edit.keep",
                                "keyboardType.default",
                                "keyboardType.us_international",
                                "keyboardType.azerty",
                                "keyboardType.german",
                                "keyboardType.all",
                                "status.stable",
                                "status.unstable",
                                "status.overload",
                                "status.underload",
                                "status.error",
                                "status.not_a_value",
                                "request.none",
                                "request.on_start",
                                "request.interval",
                                "request.on_demand",
                                // instrument presets
                                "generic",
                                "barcode_numeric",
                                "barcode_alphanumeric",
                                "barcode_alphanumeric_complete",
                                "adam_azextra_weight",
                                "adam_gbc_gfc_weight",
                                "adam_gbc_gfc_pcs",
                                "kern_rpb_weight",
                                "generic.defaultMessage",
                                "barcode_numeric.defaultMessage",
                                "barcode_alphanumeric.defaultMessage",
                                "barcode_alphanumeric_complete.defaultMessage",
                                "aandd.em.defaultmessage",
                                "adam_azextra.defaultMessage",
                                "adam_cbk.defaultMessage",
                                "adam_cpwplus.defaultMessage",
                                "adam_hcb.defaultMessage",
                                "kern_rpb.defaultMessage",
                                "myweigh_hd.defaultMessage",
                                "sartorius.defaultMessage",
                                // settings store
                                "import.invalid.setting",
                                "import.unknown.settings",
                                "settings.store.damaged.kept",
                                "settings.file.too.large",
                            });
    return bundle;
}

} // namespace serwedge::config
