#include "TestHttpsServer.h"

#include <QFile>
#include <QProcess>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace testing_https {

const std::optional<Credentials>& credentials(QString* error) {
    static QString failure;
    static const std::optional<Credentials> made = []() -> std::optional<Credentials> {
        QTemporaryDir dir;
        QProcess openssl;
        openssl.setWorkingDirectory(dir.path());
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
        if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit ||
            openssl.exitCode() != 0) {
            failure = QStringLiteral("openssl failed (is it installed?): ") +
                      openssl.errorString() + QString::fromUtf8(openssl.readAllStandardError());
            return std::nullopt;
        }
        QFile keyFile(dir.filePath("key.pem"));
        if (!keyFile.open(QIODevice::ReadOnly)) {
            failure = QStringLiteral("no key file");
            return std::nullopt;
        }
        Credentials c{QSslCertificate::fromPath(dir.filePath("cert.pem")).value(0),
                      QSslKey(&keyFile, QSsl::Ec)};
        if (c.certificate.isNull() || c.key.isNull()) {
            failure = QStringLiteral("unreadable certificate or key");
            return std::nullopt;
        }
        return c;
    }();
    if (error)
        *error = failure;
    return made;
}

QByteArray httpResponse(const QByteArray& body, const QByteArray& contentType, bool withLength,
                        int status) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " Test\r\n";
    out += "Content-Type: " + contentType + "\r\n";
    if (withLength)
        out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    return out + body;
}

class ServerImpl : public QTcpServer {
public:
    ServerImpl(HttpsServer::Mode mode, QByteArray response, int trickleMs)
        : mode_(mode), response_(std::move(response)), trickleMs_(trickleMs) {}

    std::atomic<int> connections{0};

protected:
    void incomingConnection(qintptr descriptor) override {
        ++connections;
        if (mode_ == HttpsServer::Mode::SilentHandshake) {
            auto* plain = new QTcpSocket(this);
            plain->setSocketDescriptor(descriptor);
            return;
        }
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(credentials()->certificate);
        socket->setPrivateKey(credentials()->key);
        auto request = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
        connect(socket, &QSslSocket::readyRead, this, [=, this] {
            *request += socket->readAll();
            if (!*answered && request->contains("\r\n\r\n")) {
                *answered = true;
                answer(socket);
            }
        });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->startServerEncryption();
    }

private:
    void answer(QSslSocket* socket) {
        switch (mode_) {
        case HttpsServer::Mode::Respond:
            socket->write(response_);
            socket->disconnectFromHost();
            break;
        case HttpsServer::Mode::Trickle: {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 60000\r\n"
                          "Connection: close\r\n\r\n");
            auto* timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] { socket->write("<"); });
            timer->start(trickleMs_);
            break;
        }
        case HttpsServer::Mode::NoAnswer:
        case HttpsServer::Mode::SilentHandshake:
            break;
        }
    }

    HttpsServer::Mode mode_;
    QByteArray response_;
    int trickleMs_;
};

HttpsServer::HttpsServer(Mode mode, QByteArray response, int trickleIntervalMs) {
    impl_ = new ServerImpl(mode, std::move(response), trickleIntervalMs);
    impl_->moveToThread(&thread_);
    thread_.start();
    QMetaObject::invokeMethod(
        impl_,
        [this] {
            impl_->listen(QHostAddress::LocalHost, 0);
            port_ = impl_->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

HttpsServer::~HttpsServer() {
    QMetaObject::invokeMethod(
        impl_, [this] { delete impl_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QString HttpsServer::url(const QString& path) const {
    return QStringLiteral("https://127.0.0.1:%1%2").arg(port_).arg(path);
}

int HttpsServer::connections() const {
    return impl_->connections.load();
}

QSslConfiguration HttpsServer::clientConfiguration() {
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setCaCertificates({credentials()->certificate});
    return c;
}

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace testing_https
