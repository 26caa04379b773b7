#pragma once

// A loopback HTTPS server for tests, on a thread of its own, with a self-signed certificate
// made for this test run. Clients trust it only through clientConfiguration().

#include <QByteArray>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QString>
#include <QThread>

#include <atomic>
#include <optional>

namespace testing_https {

struct Credentials {
    QSslCertificate certificate;
    QSslKey key;
};

// Made once per test program with the openssl tool; none (and the reason) when that failed.
const std::optional<Credentials>& credentials(QString* error = nullptr);

// An HTTP/1.1 answer with status 200 unless given otherwise.
QByteArray httpResponse(const QByteArray& body, const QByteArray& contentType = "text/xml",
                        bool withLength = true, int status = 200);

class ServerImpl;

class HttpsServer {
public:
    enum class Mode {
        Respond,         // answers every request with the given bytes, then closes
        SilentHandshake, // accepts the connection but never speaks TLS
        NoAnswer,        // completes TLS, reads the request, never answers
        Trickle,         // sends headers, then one body byte per interval, for ever
    };

    explicit HttpsServer(Mode mode, QByteArray response = {}, int trickleIntervalMs = 50);
    ~HttpsServer();
    HttpsServer(const HttpsServer&) = delete;
    HttpsServer& operator=(const HttpsServer&) = delete;

    quint16 port() const { return port_; }
    QString url(const QString& path = QStringLiteral("/version.xml")) const;
    int connections() const;

    // Default client configuration with the test certificate as its only authority.
    static QSslConfiguration clientConfiguration();

private:
    QThread thread_;
    ServerImpl* impl_ = nullptr;
    quint16 port_ = 0;
};

// A loopback port with nothing listening on it.
quint16 closedPort();

} // namespace testing_https
