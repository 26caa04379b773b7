// The version document: finding elements in arbitrary content and comparing version texts.
//
// Input: content, tag, language and two version texts, separated by zero bytes.
// findXML gives a part of the content; compareVersions either refuses with UpdateCheckError or
// answers consistently (a version is never newer than itself, and never newer both ways).

#include "FuzzSupport.h"

#include "serwedge/util/ReadRemoteUpdate.h"

using serwedge::util::ReadRemoteUpdate;
using serwedge::util::UpdateCheckError;

namespace {

std::optional<bool> newer(const QString& current, const QString& candidate) {
    try {
        return ReadRemoteUpdate::compareVersions(current, candidate);
    } catch (const UpdateCheckError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const QString content = QString::fromUtf8(in.until('\0'));
    const QString tag = QString::fromUtf8(in.until('\0'));
    const QString language = QString::fromUtf8(in.until('\0'));
    const QString versionA = QString::fromUtf8(in.until('\0'));
    const QString versionB = QString::fromUtf8(in.rest());

    const QString found = ReadRemoteUpdate::findXML(content, tag, language);
    fuzz::check(found.isEmpty() || content.contains(found), "found text is part of the content",
                found);

    const std::optional<bool> ab = newer(versionA, versionB);
    const std::optional<bool> ba = newer(versionB, versionA);
    // Whether a text must be a number depends on the other's form ("1" against "1.3.4.5" reads
    // both as decimals, the other way round it does not), so only answers in both directions
    // are compared.
    if (ab && ba)
        fuzz::check(!(*ab && *ba), "never newer both ways", versionA + " | " + versionB);
    if (const auto self = newer(versionA, versionA))
        fuzz::check(!*self, "a version is not newer than itself", versionA);

    try {
        const ReadRemoteUpdate update =
            ReadRemoteUpdate::fromContent(content, QStringLiteral("2018.1.0.3"), language);
        try {
            (void)update.newerVersionAvailable();
        } catch (const UpdateCheckError&) {
        }
    } catch (const UpdateCheckError&) {
    }
    return 0;
}
