// tallyra-cli asking a balance for its values: a stand-in balance on the far side of a
// pseudo-terminal answers each MT-SICS "SI" request with a weight line, stable and dynamic in
// turn.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <atomic>
#include <string>
#include <thread>

#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace {

class StandInBalance {
public:
    StandInBalance() {
        char name[256];
        EXPECT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        name_ = QString::fromLatin1(name);
        thread_ = std::thread([this] { answer(); });
    }
    ~StandInBalance() {
        stop_ = true;
        thread_.join();
        ::close(slave_);
        ::close(master_);
    }
    const QString& port() const { return name_; }

private:
    void answer() {
        std::string received;
        for (int replies = 0; !stop_;) {
            pollfd p{master_, POLLIN, 0};
            char buffer[256];
            if (::poll(&p, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            received.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t at; (at = received.find("SI\r\n")) != std::string::npos;) {
                received.erase(0, at + 4);
                const char* line = replies++ % 2 ? "S D      12.35 g\r\n" : "S S      12.34 g\r\n";
                EXPECT_GT(::write(master_, line, std::char_traits<char>::length(line)), 0);
            }
        }
    }

    int master_ = -1, slave_ = -1;
    QString name_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The printed lines as "status value" ("null" for a withheld value).
QStringList readFromBalance(const QStringList& options) {
    StandInBalance balance;
    QProcess p;
    p.setProgram(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"));
    p.setArguments(QStringList{"read", "--port", balance.port(), "--instrument", "METTLER_DIALOG",
                               "--request-every", "200", "--seconds", "30"} +
                   options);
    p.start();
    EXPECT_TRUE(p.waitForFinished(40000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList lines;
    for (const QByteArray& l : p.readAllStandardOutput().trimmed().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(l).object();
        const QJsonValue value = o.value("value");
        lines << o.value("status").toString() + " " +
                     (value.isNull() ? QStringLiteral("null") : value.toString());
    }
    return lines;
}

} // namespace

TEST(RequestE2E, everyRequestGetsItsValueAndStableOnlyDropsTheDynamicOnes) {
    EXPECT_EQ(readFromBalance({"--count", "5"}),
              (QStringList{"STABLE 12.34", "UNSTABLE 12.35", "STABLE 12.34", "UNSTABLE 12.35",
                           "STABLE 12.34"}));
    EXPECT_EQ(readFromBalance({"--count", "4", "--stable-only"}),
              (QStringList{"STABLE 12.34", "UNSTABLE null", "STABLE 12.34", "UNSTABLE null"}));
}
