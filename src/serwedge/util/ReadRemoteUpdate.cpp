#include "serwedge/util/ReadRemoteUpdate.h"

#include "config/Decimal.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <array>
#include <memory>

namespace serwedge::util {

Q_LOGGING_CATEGORY(lcUpdate, "tallyra.update")

namespace {

using namespace std::chrono_literals;

config::Decimal decimalVersion(const QString& text) {
    const auto d = config::Decimal::tryParse(text);
    if (!d)
        throw UpdateCheckError(QStringLiteral("Not a version number: \"%1\"").arg(text));
    return *d;
}

// A base-10 integer of any length, as its digits without leading zeros.
QString integerComponent(const QString& text, const QString& version) {
    if (text.isEmpty())
        throw UpdateCheckError(QStringLiteral("Empty component in version \"%1\"").arg(version));
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            throw UpdateCheckError(
                QStringLiteral("Component \"%1\" of version \"%2\" is not a number")
                    .arg(text, version));
    }
    qsizetype lead = 0;
    while (lead + 1 < text.size() && text[lead] == u'0')
        ++lead;
    return text.mid(lead);
}

// The first three dot-separated components and the whole rest after the third "." (0 when there
// is none), each as an integer. The version has at least two dots.
std::array<QString, 4> versionComponents(const QString& version) {
    const QStringList parts = version.split(u'.');
    std::array<QString, 4> out;
    for (int i = 0; i < 3; ++i)
        out[i] = integerComponent(parts[i], version);
    out[3] =
        parts.size() > 3 ? integerComponent(parts.mid(3).join(u'.'), version) : QStringLiteral("0");
    return out;
}

int compareIntegers(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool looksLikeHtml(const QString& contentType, const QString& body) {
    if (contentType.contains(QLatin1String("html"), Qt::CaseInsensitive))
        return true;
    const QString start = body.left(64).trimmed();
    return start.startsWith(QLatin1String("<!doctype html"), Qt::CaseInsensitive) ||
           start.startsWith(QLatin1String("<html"), Qt::CaseInsensitive);
}

std::optional<QDate> parseDate(const QString& text) {
    for (const char* format : {"yyyy-MM-dd", "yyyyMMdd"}) {
        const QDate d = QDate::fromString(text, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

// Fetches one small document over HTTPS within the bounds of the options. Runs a private event
// loop on the calling thread, so it may be called from a thread without one.
QString fetch(const QString& address, const FetchOptions& options) {
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0)
        throw UpdateCheckError(QStringLiteral("Not an HTTPS address: \"%1\"").arg(address));

    QEventLoop loop;
    QNetworkAccessManager manager;
    // Redirects are followed, but never from HTTPS to plain HTTP.
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkRequest request(url);
    request.setMaximumRedirectsAllowed(5);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tallyra"));
    if (options.sslConfiguration)
        request.setSslConfiguration(*options.sslConfiguration);

    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    QByteArray body;
    QString failure;
    auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        if (!reply->isFinished())
            reply->abort();
    };

    QTimer connectTimer;
    QTimer readTimer;
    QTimer totalTimer;
    QTimer stopPoll;
    for (QTimer* t : {&connectTimer, &readTimer, &totalTimer})
        t->setSingleShot(true);
    QObject::connect(&connectTimer, &QTimer::timeout, [&] { fail(QStringLiteral("Timeout")); });
    QObject::connect(&readTimer, &QTimer::timeout, [&] { fail(QStringLiteral("Timeout")); });
    QObject::connect(&totalTimer, &QTimer::timeout, [&] {
        fail(QStringLiteral("Timeout: no complete answer within %1 ms")
                 .arg(options.totalTimeout.count()));
    });
    if (options.shouldStop) {
        QObject::connect(&stopPoll, &QTimer::timeout, [&] {
            if (options.shouldStop())
                fail(QStringLiteral("Interrupted"));
        });
        stopPoll.start(50ms);
    }

    auto takeBytes = [&] {
        body += reply->readAll();
        if (body.size() > options.maxBytes)
            fail(QStringLiteral("Answer larger than %1 bytes").arg(options.maxBytes));
    };
    QObject::connect(reply.get(), &QNetworkReply::encrypted, [&] {
        connectTimer.stop();
        readTimer.start(options.readTimeout);
    });
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, [&] {
        readTimer.start(options.readTimeout);
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > options.maxBytes)
            fail(QStringLiteral("Answer larger than %1 bytes").arg(options.maxBytes));
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, [&] {
        readTimer.start(options.readTimeout);
        takeBytes();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    connectTimer.start(options.connectTimeout);
    totalTimer.start(options.totalTimeout);
    if (!reply->isFinished())
        loop.exec();
    if (failure.isEmpty())
        takeBytes();

    const QString contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply.reset();
    // Objects the network layer released with deleteLater on this thread go now, since this
    // thread may have no event loop of its own.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    if (!failure.isEmpty())
        throw UpdateCheckError(failure);
    if (error != QNetworkReply::NoError)
        throw UpdateCheckError(errorText);
    if (status != 200)
        throw UpdateCheckError(QStringLiteral("HTTP status %1").arg(status));
    const QString text = QString::fromUtf8(body);
    if (looksLikeHtml(contentType, text))
        throw UpdateCheckError(QStringLiteral("The answer is a web page, not a version document"));
    qCDebug(lcUpdate) << "fetched" << body.size() << "bytes from" << url.toDisplayString();
    return text;
}

} // namespace

ReadRemoteUpdate::ReadRemoteUpdate(QString urlString, QString currentVersion, QString language,
                                   FetchOptions options)
    : urlString_(std::move(urlString)), currentVersion_(std::move(currentVersion)),
      language_(language.toLower()), options_(std::move(options)) {
    readURLContent();
    parse();
}

ReadRemoteUpdate ReadRemoteUpdate::fromContent(QString content, QString currentVersion,
                                               QString language) {
    ReadRemoteUpdate r;
    r.content_ = std::move(content);
    r.currentVersion_ = std::move(currentVersion);
    r.language_ = language.toLower();
    r.parse();
    return r;
}

void ReadRemoteUpdate::readURLContent() {
    content_ = fetch(urlString_, options_);
}

void ReadRemoteUpdate::parse() {
    remoteVersion_ = findXML(QLatin1String(versionTag), language_);
    remoteReleaseDate_.reset();
    const QString date = findXML(QLatin1String(dateTag), language_).trimmed();
    if (!date.isEmpty()) {
        remoteReleaseDate_ = parseDate(date);
        if (!remoteReleaseDate_)
            throw UpdateCheckError(QStringLiteral("Unreadable release date: \"%1\"").arg(date));
    }
}

bool ReadRemoteUpdate::newerVersionAvailable() const {
    return compareVersions(currentVersion_, remoteVersion_);
}

QString ReadRemoteUpdate::findXML(const QString& tag, const QString& language) const {
    return findXML(content_, tag, language);
}

QString ReadRemoteUpdate::findXML(const QString& content, const QString& tag,
                                  const QString& language) {
    const QString name = language.isEmpty() ? tag : tag + u'_' + language;
    const QString open = u'<' + name + u'>';
    const QString close = QStringLiteral("</") + name + u'>';
    const qsizetype start = content.indexOf(open);
    const qsizetype end = content.indexOf(close);
    if (start < 0 || start + open.size() > end)
        return {};
    return content.mid(start + open.size(), end - start - open.size());
}

bool ReadRemoteUpdate::compareVersions(const QString& currentText, const QString& candidateText) {
    const QString current = currentText.trimmed();
    const QString candidate = candidateText.trimmed();
    if (current.isEmpty() || candidate.isEmpty() || current == candidate)
        return false;
    if (candidate.count(u'.') <= 1)
        return decimalVersion(candidate).compareTo(decimalVersion(current)) > 0;
    // A candidate with more components must be a number in each of them, even where the
    // current version alone decides.
    const auto cand = versionComponents(candidate);
    if (current.count(u'.') <= 1)
        return true;
    const auto cur = versionComponents(current);
    for (std::size_t i = 0; i < cur.size(); ++i) {
        const int cmp = compareIntegers(cand[i], cur[i]);
        if (cmp != 0)
            return cmp > 0;
    }
    return false;
}

} // namespace serwedge::util
