#include "serwedge/SettingsTransfer.h"

#include "serwedge/UiPrompts.h"
#include "serwedge/prefs/SettingsStore.h"
#include "serwedge/util/TallyraBundle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <stdexcept>

namespace serwedge {

namespace {
Q_LOGGING_CATEGORY(lcTransfer, "tallyra.settings.transfer")

class TransferError : public std::runtime_error {
public:
    explicit TransferError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
} // namespace

SettingsTransfer::SettingsTransfer(prefs::SettingsStore& store, UiPrompts& prompts, Hooks hooks,
                                   QWidget* parent)
    : store_(store), prompts_(prompts), hooks_(std::move(hooks)), parent_(parent) {}

SettingsTransfer::Outcome SettingsTransfer::exportSettings() {
    const QString path = prompts_.saveFileName(
        parent_, tallyraBundle().getString("export.settings.dialog.title"),
        QLatin1String(kProposedFileName), tallyraBundle().getString("settings.file.filter"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    if (QFileInfo::exists(path) &&
        !prompts_.askYesNo(parent_, tallyraBundle().getString("file.already.exists.overwrite"),
                           tallyraBundle().getString("overwrite")))
        return Outcome::Cancelled;
    try {
        if (hooks_.saveCurrent)
            hooks_.saveCurrent();
        // Written aside and moved into place, so that a failure leaves an existing file intact.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw TransferError(file.errorString());
        store_.exportTo(file);
        if (!file.commit())
            throw TransferError(file.errorString());
    } catch (const std::exception& e) {
        qCWarning(lcTransfer) << "export to" << path << "failed:" << e.what();
        prompts_.showError(
            parent_, tallyraBundle().getString("export.failed") + QString::fromStdString(e.what()),
            tallyraBundle().getString("error"));
        return Outcome::Failed;
    }
    prompts_.showInformation(parent_,
                             tallyraBundle().getString("configuration.exported.to.file.n") +
                                 QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
                             tallyraBundle().getString("export.successful"));
    return Outcome::Exported;
}

SettingsTransfer::Outcome SettingsTransfer::importSettings() {
    const QString path =
        prompts_.openFileName(parent_, tallyraBundle().getString("import.settings.dialog.title"),
                              tallyraBundle().getString("settings.file.filter"));
    if (path.isEmpty())
        return Outcome::Cancelled;
    QString question = tallyraBundle().getString("import.apply.and.exit");
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TransferError(file.errorString());
        // Checks the whole document before writing anything, then re-reads the node.
        const prefs::ImportResult result = store_.importFrom(file);
        if (!result.unknownKeys.isEmpty())
            question =
                prefs::unknownSettingsText(result.unknownKeys) + QStringLiteral("\n\n") + question;
    } catch (const std::exception& e) {
        qCWarning(lcTransfer) << "import from" << path << "failed:" << e.what();
        prompts_.showError(
            parent_, tallyraBundle().getString("import.failed") + QString::fromStdString(e.what()),
            tallyraBundle().getString("error"));
        return Outcome::Failed;
    }
    if (prompts_.askYesNo(parent_, question, tallyraBundle().getString("restart.required"))) {
        if (hooks_.exit)
            hooks_.exit(kImportExitStatus);
        return Outcome::ExitRequested;
    }
    return Outcome::Continued;
}

} // namespace serwedge
