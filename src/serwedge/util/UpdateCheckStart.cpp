#include "serwedge/util/UpdateCheckStart.h"

#include "config/Config.h"
#include "props/Props.h"

#include <random>

namespace serwedge::util {

std::optional<QString> updateAddressForThisStart(bool checkForUpdates, const QString& explicitUrl,
                                                 const QString& host,
                                                 const std::function<int()>& draw) {
    if (!checkForUpdates)
        return std::nullopt;
    if (!explicitUrl.isEmpty())
        return explicitUrl;
    if (host.isEmpty() || draw() != 0)
        return std::nullopt;
    return QStringLiteral("https://") + host + QStringLiteral("/version.xml");
}

std::unique_ptr<UpdateWorker> maybeStartUpdateCheck(const config::Config& config,
                                                    UpdateWorkerView* view) {
    const QString explicitUrl = QString::fromStdString(props::get("TALLYRA_UPDATE_URL", ""));
    // One start in four, drawn from a fresh random source.
    auto draw = [] {
        std::random_device seed;
        std::mt19937 random(seed());
        return std::uniform_int_distribution<int>(0, 3)(random);
    };
    const auto address =
        updateAddressForThisStart(config.checkForUpdates, explicitUrl, compiledUpdateHost(), draw);
    if (!address)
        return nullptr;
    const QString version = QString::fromStdString(props::get("VERSION", props::kVersion));
    auto worker = std::make_unique<UpdateWorker>(view, *address, version, QStringLiteral("en"));
    worker->execute();
    return worker;
}

} // namespace serwedge::util
