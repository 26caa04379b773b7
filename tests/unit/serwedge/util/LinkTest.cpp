#include "TestHttpsServer.h"

#include "serwedge/util/JLabelHtml.h"
#include "serwedge/util/OpenHyperlinkInBrowser.h"
#include "serwedge/util/TallyraBundle.h"
#include "serwedge/util/UpdateWorker.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>

#include <atomic>
#include <mutex>

using serwedge::util::JLabelHtml;
using serwedge::util::OpenHyperlinkInBrowser;

namespace {

// Replaces the browser and the problem dialog for one test.
class Links : public ::testing::Test {
protected:
    void SetUp() override {
        OpenHyperlinkInBrowser::setBrowser([this](const QUrl& url) {
            std::lock_guard lock(mutex);
            opened.push_back(url);
            browserOffUiThread = QThread::currentThread() != qApp->thread();
            return browserWorks.load();
        });
        OpenHyperlinkInBrowser::setProblemDialog(
            [this](QWidget* owner, const QString& title, const QString& message) {
                problems.push_back({owner, title, message});
            });
    }
    void TearDown() override {
        OpenHyperlinkInBrowser::setBrowser({});
        OpenHyperlinkInBrowser::setProblemDialog({});
    }

    // Pumps events until the opener has finished with n addresses, or a bound passes.
    void settle(std::size_t n) {
        QElapsedTimer t;
        t.start();
        while (openedCount() + problems.size() < n && t.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        // Give a late, unexpected dialog the chance to show up.
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::size_t openedCount() {
        std::lock_guard lock(mutex);
        return opened.size();
    }

    struct Problem {
        QWidget* owner;
        QString title;
        QString message;
    };
    std::mutex mutex;
    std::vector<QUrl> opened;
    std::vector<Problem> problems;
    std::atomic<bool> browserWorks{true};
    bool browserOffUiThread = false;
};

} // namespace

TEST(JLabelHtmlText, wrapsTextAndLinks) {
    EXPECT_EQ(JLabelHtml::htmlIfy("Hello"), "<html>Hello</html>");
    EXPECT_EQ(JLabelHtml::linkIfy("https://example.org/", "download"),
              "<a href=\"https://example.org/\">download</a>");
    EXPECT_EQ(JLabelHtml::htmlIfy(JLabelHtml::linkIfy("u", "t")),
              "<html><a href=\"u\">t</a></html>");
}

TEST_F(Links, webAddressesOpenInTheBrowserOffTheUserInterfaceThread) {
    QWidget owner;
    OpenHyperlinkInBrowser::open(&owner, "https://example.org/download?x=1");
    OpenHyperlinkInBrowser::open(&owner, "HTTP://example.org/");
    settle(2);
    ASSERT_EQ(openedCount(), 2u);
    // The two tasks run side by side; either may reach the browser first.
    std::lock_guard lock(mutex);
    EXPECT_NE(std::find(opened.begin(), opened.end(), QUrl("https://example.org/download?x=1")),
              opened.end());
    EXPECT_TRUE(browserOffUiThread);
    EXPECT_TRUE(problems.empty());
}

TEST_F(Links, otherAddressesGetTheProblemDialogInstead) {
    QWidget owner;
    const char* refused[] = {"file:///etc/passwd",
                             "javascript:alert(1)",
                             "mailto:a@example.org",
                             "example.org/version.xml",
                             "https://",
                             "",
                             "ftp://example.org/"};
    for (const char* address : refused)
        OpenHyperlinkInBrowser::open(&owner, address);
    settle(std::size(refused));
    EXPECT_EQ(openedCount(), 0u);
    ASSERT_EQ(problems.size(), std::size(refused));
    EXPECT_EQ(problems[0].owner, &owner);
    EXPECT_EQ(problems[0].title, "A problem occured");
    EXPECT_EQ(problems[0].message, "Sorry, a problem occurred while trying to open this link in "
                                   "your system's standard browser.");
}

TEST_F(Links, browserThatFailsGetsTheProblemDialog) {
    browserWorks = false;
    OpenHyperlinkInBrowser::open(nullptr, "https://example.org/");
    settle(2);
    EXPECT_EQ(openedCount(), 1u);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].owner, nullptr);
}

TEST_F(Links, problemDialogOwnerThatWentAwayIsNotUsed) {
    auto* owner = new QWidget;
    browserWorks = false;
    OpenHyperlinkInBrowser::open(owner, "https://example.org/");
    delete owner;
    settle(2);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].owner, nullptr);
}

TEST_F(Links, linkableLabelOpensItsLinkOnce) {
    QWidget window;
    auto* label = new QLabel(&window);
    label->setText(JLabelHtml::htmlIfy(
        serwedge::tallyraBundle().format("update.available", {"https://example.org/dl/"})));
    JLabelHtml::makeLinkable(label);
    JLabelHtml::makeLinkable(label);
    EXPECT_EQ(label->textFormat(), Qt::RichText);
    EXPECT_FALSE(label->openExternalLinks());
    emit label->linkActivated("https://example.org/dl/");
    settle(1);
    ASSERT_EQ(openedCount(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://example.org/dl/"));
}

// The window's status label as the update check sees it, and the links it shows: the anchors of
// its text laid out in its own text format.
struct LabelView : serwedge::util::UpdateWorkerView {
    void showStatus(const QString& text) override { JLabelHtml::setText(&label, text); }
    int linksShown() const {
        QTextDocument shown;
        label.textFormat() == Qt::PlainText ? shown.setPlainText(label.text())
                                            : shown.setHtml(label.text());
        int links = 0;
        for (QTextBlock block = shown.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                links += it.fragment().charFormat().isAnchor() ? 1 : 0;
        return links;
    }
    QLabel label;
};

// Markup in what the update server sends is shown as text, never obeyed.
TEST_F(Links, updateServerTextsNeverBecomeLinks) {
    ASSERT_TRUE(testing_https::credentials());
    const QByteArray evil = "<a href=\"https://evil.example/\">click</a>";
    const QByteArray newer = "<version2_en>2099.1.0.0</version2_en>";
    // The document, and the links shown: only the download page's own.
    const std::pair<QByteArray, int> cases[] = {{"<version2_en>" + evil + "</version2_en>", 0},
                                                {newer + "<date_en>" + evil + "</date_en>", 0},
                                                {newer, 1}};
    for (const auto& [document, links] : cases) {
        testing_https::HttpsServer server(testing_https::HttpsServer::Mode::Respond,
                                          testing_https::httpResponse(document));
        serwedge::util::FetchOptions options;
        options.sslConfiguration = testing_https::HttpsServer::clientConfiguration();
        LabelView view;
        JLabelHtml::makeLinkable(&view.label);
        serwedge::util::UpdateWorker worker(&view, server.url(), "2018.1.0.3", "en", options);
        worker.execute();
        QElapsedTimer t;
        t.start();
        while (!worker.isDone() && t.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(view.linksShown(), links) << view.label.text().toStdString();
        EXPECT_EQ(view.label.text().contains(QString::fromUtf8(evil)), links == 0);
    }
}
