#pragma once

#include <QDate>
#include <QSslConfiguration>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>

namespace serwedge::util {

// Any failure of the update check: no connection, time-out, an unusable answer, or a version
// text that cannot be compared. The message says which.
class UpdateCheckError : public std::runtime_error {
public:
    explicit UpdateCheckError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// How one fetch of the version document is bounded. The defaults are the program's; tests
// shorten them.
struct FetchOptions {
    // Until the TLS session is up.
    std::chrono::milliseconds connectTimeout{5000};
    // Longest silence once connected; restarts with every byte that arrives.
    std::chrono::milliseconds readTimeout{5000};
    // The whole fetch, however the bytes trickle in.
    std::chrono::milliseconds totalTimeout{15000};
    // The answer is a small text document; anything larger is refused.
    qint64 maxBytes = 64 * 1024;
    // Replaces the default TLS configuration (tests trust their own certificate with it).
    std::optional<QSslConfiguration> sslConfiguration;
    // Polled during the fetch; true ends it with "Interrupted". Called on the fetching thread.
    std::function<bool()> shouldStop;
};

// The remote version document, fetched and parsed at construction.
class ReadRemoteUpdate {
public:
    // Element base names of the version and the release date.
    static constexpr const char* versionTag = "version2";
    static constexpr const char* dateTag = "date";

    // Fetches urlString (HTTPS only) and parses it; UpdateCheckError on any failure. Blocks the
    // calling thread (it runs a private event loop) for at most options.totalTimeout.
    ReadRemoteUpdate(QString urlString, QString currentVersion, QString language,
                     FetchOptions options = {});

    // Parses a document that is already at hand.
    static ReadRemoteUpdate fromContent(QString content, QString currentVersion, QString language);

    const QString& getUrlString() const { return urlString_; }
    const QString& getContent() const { return content_; }
    const QString& getCurrentVersion() const { return currentVersion_; }
    // Text of the version element; empty when the document has none.
    const QString& getRemoteVersion() const { return remoteVersion_; }
    const std::optional<QDate>& getRemoteReleaseDate() const { return remoteReleaseDate_; }

    // compareVersions(current, remote); UpdateCheckError for a version that is not a number.
    bool newerVersionAvailable() const;

    // Text between the first "<tag_language>" and the first "</tag_language>" of the content
    // ("<tag>" and "</tag>" without a language); empty unless the opening mark ends before the
    // closing mark.
    QString findXML(const QString& tag, const QString& language) const;
    static QString findXML(const QString& content, const QString& tag, const QString& language);

    // True when candidate is a newer version than current. Texts with at most one "." compare
    // as decimal numbers; longer ones by their first three components and then the whole rest,
    // each as a base-10 integer. UpdateCheckError when a text or component is not a number.
    static bool compareVersions(const QString& current, const QString& candidate);

    // Fetches the document into the content.
    void readURLContent();

private:
    ReadRemoteUpdate() = default;
    void parse();

    QString urlString_;
    QString content_;
    QString currentVersion_;
    QString language_;
    QString remoteVersion_;
    std::optional<QDate> remoteReleaseDate_;
    FetchOptions options_;
};

} // namespace serwedge::util
