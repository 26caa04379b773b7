// The update check end to end against a loopback HTTPS server.

#include "TestHttpsServer.h"

#include "config/Config.h"
#include "props/Props.h"
#include "serwedge/util/TallyraBundle.h"
#include "serwedge/util/UpdateCheckStart.h"
#include "serwedge/util/UpdateWorker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

using namespace std::chrono_literals;
using serwedge::tallyraBundle;
using serwedge::util::FetchOptions;
using serwedge::util::UpdateWorker;
using serwedge::util::UpdateWorkerView;
using testing_https::httpResponse;
using testing_https::HttpsServer;

namespace {

class RecordingView : public UpdateWorkerView {
public:
    void showStatus(const QString& text) override {
        texts.push_back(text);
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            offThread = true;
    }
    std::vector<QString> texts;
    bool offThread = false;
};

bool pumpUntilDone(const UpdateWorker& worker, std::chrono::milliseconds bound = 10s) {
    QElapsedTimer t;
    t.start();
    while (!worker.isDone() && t.elapsed() < bound.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return worker.isDone();
}

// Short bounds so that the time-out cases take well under a second each.
FetchOptions quickOptions(bool trustTestCertificate = true) {
    FetchOptions o;
    o.connectTimeout = 400ms;
    o.readTimeout = 400ms;
    o.totalTimeout = 1500ms;
    if (trustTestCertificate)
        o.sslConfiguration = HttpsServer::clientConfiguration();
    return o;
}

QByteArray versionDocument(const QByteArray& version) {
    return "<?xml version=\"1.0\"?>\n<tallyra>\n  <version2_en>" + version +
           "</version2_en>\n  <date_en>2019-04-01</date_en>\n  <version2_de>0.0.0.1</version2_de>"
           "\n</tallyra>\n";
}

QString failed(const QString& reason) {
    return tallyraBundle().getString("update.check.failed") + reason;
}

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        if (!testing_https::credentials(&error))
            FAIL() << error.toStdString();
    }

    // Runs one check and returns the final status text.
    QString check(const QString& url, FetchOptions options = quickOptions()) {
        UpdateWorker worker(&view, url, "2018.1.0.3", "en", std::move(options));
        worker.execute();
        EXPECT_TRUE(pumpUntilDone(worker)) << "the check did not end";
        EXPECT_FALSE(view.offThread);
        EXPECT_GE(view.texts.size(), 2u);
        if (view.texts.empty())
            return {};
        EXPECT_EQ(view.texts.front(), tallyraBundle().getString("checking.for.update"));
        return view.texts.back();
    }

    RecordingView view;
};

} // namespace

TEST_F(UpdateCheck, newerVersionShowsTheLinkToTheDownloadPage) {
    HttpsServer server(HttpsServer::Mode::Respond, httpResponse(versionDocument("2018.1.0.10")));
    const QString status = check(server.url("/updates/version.xml"));
    EXPECT_EQ(status, tallyraBundle().format(
                          "update.available",
                          {QStringLiteral("https://127.0.0.1:%1/updates/").arg(server.port())}));
    EXPECT_TRUE(status.startsWith("<html>"));
}

TEST_F(UpdateCheck, equalOrOlderVersionRestoresTheIdleStatus) {
    const QString idle = tallyraBundle().getString("WeightToKeyFrame2.statusJLabel.text");
    for (const char* version : {"2018.1.0.3", "2018.1.0.2", "2018.0.9.99", "2017.12.31"}) {
        view.texts.clear();
        HttpsServer server(HttpsServer::Mode::Respond, httpResponse(versionDocument(version)));
        EXPECT_EQ(check(server.url()), idle) << version;
    }
}

TEST_F(UpdateCheck, answerWithoutVersionElementIsNoUpdate) {
    HttpsServer server(HttpsServer::Mode::Respond,
                       httpResponse("<tallyra><version2_de>2099.1.0.0</version2_de></tallyra>"));
    EXPECT_EQ(check(server.url()),
              tallyraBundle().getString("WeightToKeyFrame2.statusJLabel.text"));
}

TEST_F(UpdateCheck, unusableAnswersFailWithTheirReason) {
    struct Case {
        const char* what;
        QByteArray response;
        const char* reason;
    };
    const QByteArray big(70000, 'x');
    const Case cases[] = {
        {"malformed version", httpResponse(versionDocument("2019.x.0.0")), "is not a number"},
        {"html page", httpResponse("<!DOCTYPE html><html><body>Login</body></html>", "text/html"),
         "web page"},
        {"html page sent as xml",
         httpResponse("<html><head><title>Portal</title></head></html>", "text/xml"), "web page"},
        {"oversized with length", httpResponse(big), "larger than 65536 bytes"},
        {"oversized without length", httpResponse(big, "text/xml", false),
         "larger than 65536 bytes"},
        {"not found", httpResponse("gone", "text/plain", true, 404), ""},
    };
    for (const Case& c : cases) {
        view.texts.clear();
        HttpsServer server(HttpsServer::Mode::Respond, c.response);
        const QString status = check(server.url());
        EXPECT_TRUE(status.startsWith(failed(""))) << c.what << ": " << status.toStdString();
        EXPECT_GT(status.size(), failed("").size()) << c.what << ": the reason is missing";
        EXPECT_TRUE(status.contains(QLatin1String(c.reason)))
            << c.what << ": " << status.toStdString();
    }
}

TEST_F(UpdateCheck, silentServersEndWithTimeout) {
    for (auto mode : {HttpsServer::Mode::SilentHandshake, HttpsServer::Mode::NoAnswer}) {
        view.texts.clear();
        HttpsServer server(mode);
        EXPECT_EQ(check(server.url()), failed("Timeout"));
        EXPECT_EQ(server.connections(), 1);
    }
}

TEST_F(UpdateCheck, tricklingServerIsCutOffByTheWholeCheckBound) {
    // One byte every 50 ms keeps the read time-out from ever firing; 60000 bytes would take
    // 50 minutes.
    HttpsServer server(HttpsServer::Mode::Trickle, {}, 50);
    QElapsedTimer t;
    t.start();
    const QString status = check(server.url());
    EXPECT_TRUE(status.startsWith(failed("Timeout: no complete answer within 1500 ms")))
        << status.toStdString();
    EXPECT_LT(t.elapsed(), 8000);
}

TEST_F(UpdateCheck, refusedConnectionFails) {
    const QString status =
        check(QStringLiteral("https://127.0.0.1:%1/version.xml").arg(testing_https::closedPort()));
    EXPECT_TRUE(status.startsWith(failed(""))) << status.toStdString();
    EXPECT_TRUE(status.contains("refused", Qt::CaseInsensitive)) << status.toStdString();
}

TEST_F(UpdateCheck, certificateNotTrustedByTheClientFails) {
    HttpsServer server(HttpsServer::Mode::Respond, httpResponse(versionDocument("2099.1.0.0")));
    const QString status = check(server.url(), quickOptions(false));
    EXPECT_TRUE(status.startsWith(failed(""))) << status.toStdString();
    EXPECT_FALSE(status.contains("<html>"));
}

TEST_F(UpdateCheck, cancellingEndsAPendingFetchAtOnceAndShowsNothingMore) {
    HttpsServer server(HttpsServer::Mode::NoAnswer);
    FetchOptions slow = quickOptions();
    slow.readTimeout = 60s;
    slow.totalTimeout = 60s;
    UpdateWorker worker(&view, server.url(), "2018.1.0.3", "en", slow);
    worker.execute();
    QElapsedTimer t;
    t.start();
    while (server.connections() == 0 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(server.connections(), 1);
    worker.cancel(true);
    EXPECT_TRUE(worker.waitForFinished(5s));
    ASSERT_TRUE(pumpUntilDone(worker));
    EXPECT_EQ(worker.outcome(), UpdateWorker::Outcome::Cancelled);
    ASSERT_EQ(view.texts.size(), 1u);
    EXPECT_EQ(view.texts[0], tallyraBundle().getString("checking.for.update"));
}

TEST_F(UpdateCheck, explicitUpdateAddressRunsTheCheckOnEveryStart) {
    HttpsServer server(HttpsServer::Mode::Respond, httpResponse(versionDocument("2099.1.0.0")));
    props::set("TALLYRA_UPDATE_URL", server.url().toStdString());
    serwedge::config::Config config;
    config.checkForUpdates = true;
    for (int start = 0; start < 3; ++start) {
        auto worker = serwedge::util::maybeStartUpdateCheck(config, &view);
        ASSERT_TRUE(worker) << "start " << start;
        EXPECT_EQ(worker->urlString(), server.url());
        ASSERT_TRUE(pumpUntilDone(*worker));
    }
    // The program itself trusts only the system's authorities, not the test certificate.
    EXPECT_EQ(server.connections(), 3);
    config.checkForUpdates = false;
    EXPECT_FALSE(serwedge::util::maybeStartUpdateCheck(config, &view));
    props::remove("TALLYRA_UPDATE_URL");
}
