// tallyra-cli run as users run it: the built program, its exit status and its output.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun cli(const QStringList& args, const QByteArray& input = {}, int timeoutMs = 20000) {
    QProcess p;
    p.setProgram(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"));
    p.setArguments(args);
    p.start();
    p.waitForStarted();
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString fixture(const char* name) {
    return QStringLiteral(TALLYRA_SOURCE_DIR "/tests/fixtures/") + QLatin1String(name);
}

// The published lines as "count|raw|value|error".
QStringList lines(const QByteArray& out) {
    QStringList result;
    for (const QByteArray& l : out.split('\n')) {
        if (l.isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(l).object();
        EXPECT_EQ(o.size(), 5) << l.toStdString();
        result << QStringLiteral("%1|%2|%3|%4")
                      .arg(o.value("count").toInt())
                      .arg(o.value("raw").toString(), o.value("value").toString(),
                           o.value("error").toBool() ? "E" : "-");
    }
    return result;
}

} // namespace

TEST(Cli, replayOfABalanceCaptureGivesTheExactLines) {
    const CliRun r = cli({"replay", fixture("balance-crlf.bin")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{
                                "1|ST,+000012.34 g<13>|12.34|-",
                                "2|<10>ST,+000012.34 g<13>|12.34|-",
                                "3|<10>US,-000001.50 g<13>|-1.50|-",
                                "4|<10>OL<13>||-",
                                "5|<10>ST,+000012.35 g<13>|12.35|-",
                            }));
    // The trailing LF is reported as unsent data when the replay stops.
    EXPECT_TRUE(r.err.contains("! ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("<10>"));
}

TEST(Cli, replayAppliesSettingsAndDuplicateSuppression) {
    const CliRun r = cli({"replay", "--ignore-duplicates", "--decimals", "1", "--separator",
                          "COMMA", "--terminator", "10", fixture("balance-crlf.bin")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{
                                "1|ST,+000012.34 g<13><10>|12,3|-",
                                "2|ST,+000012.34 g<13><10>||-",
                                "3|US,-000001.50 g<13><10>|-1,5|-",
                                "4|OL<13><10>||-",
                                "5|ST,+000012.35 g<13><10>|12,4|-",
                            }));
}

TEST(Cli, instrumentTakesItsLineSettingsAndExplicitOptionsWin) {
    // KERN_MPS ends lines with LF; its pattern wants "N" at the start and "kg".
    CliRun r = cli({"replay", "--instrument", "KERN_MPS", fixture("kern-mps.bin")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"1|N  60.24 kg<10>|60.24|-",
                                         "2|NET  WEIGHT  3.3kg<10>|3.3|-", "3|T  0.00 kg<10>||-"}));
    r = cli({"replay", "--terminator", "13", "--instrument", "KERN_MPS", "--math-operation",
             "MULTIPLY", "--math-operand", "1000", fixture("kern-mps.bin")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(lines(r.out).isEmpty()); // no CR in the capture: nothing terminated
    EXPECT_TRUE(r.err.contains("60.24 kg<10>"));
}

TEST(Cli, barcodeReplayKeepsBlanks) {
    const CliRun r = cli({"replay", "--instrument", "BARCODE_ALPHA_COMPLETE", "-"},
                         QByteArray(" AB-12 x \r4006381333931\r"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out),
              (QStringList{"1| AB-12 x <13>| AB-12 x |-", "2|4006381333931<13>|4006381333931|-"}));
}

// Every byte a barcode can carry, quotes, backslashes and control characters included, comes
// out in JSON exactly as Qt writes it, and reads back as the bytes sent.
TEST(Cli, replayWritesEveryValueAsQtsCompactJson) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r')
            all += static_cast<char>(b);
    }
    const CliRun r =
        cli({"replay", "--instrument", "BARCODE_ALPHA_COMPLETE", "--regex", "([^\\r]+)", "-"},
            all + "\r\"x\\\r\r");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> out = r.out.trimmed().split('\n');
    ASSERT_EQ(out.size(), 3);
    for (const QByteArray& line : out) {
        const QJsonDocument parsed = QJsonDocument::fromJson(line);
        EXPECT_EQ(parsed.toJson(QJsonDocument::Compact), line);
    }
    EXPECT_EQ(QJsonDocument::fromJson(out[0]).object().value("value").toString(),
              QString::fromLatin1(all));
    EXPECT_EQ(QJsonDocument::fromJson(out[1]).object().value("value").toString(), "\"x\\");
}

TEST(Cli, countEndsTheRunAfterTheNthLine) {
    const CliRun r = cli({"replay", "--count", "2", fixture("balance-crlf.bin")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(r.out).size(), 2);
}

TEST(Cli, refusedOptionsAndBadUsageExitWithTwo) {
    const QList<QStringList> refused{
        {"replay", "--decimals", "9", "x"},
        {"replay", "--delay", "1001", "x"},
        {"replay", "--every-x-values", "1", "x"},
        {"replay", "--math-operand", "0", "x"},
        {"replay", "--regex", "[0-9]+", "x"},
        {"replay", "--instrument", "Generic", "x"},
        {"replay", "--bit-rate", "9601", "x"},
        {"replay", "--parity", "none", "x"},
        {"replay", "--no-such-option", "x"},
        {"replay", "--request-every", "99", "x"},
        {"replay", "--request-mode", "sometimes", "x"},
        {"replay", "--request-command", "S<300>", "x"},
        {"replay"},
        {"read"},
        {"frobnicate"},
    };
    for (const QStringList& args : refused) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
    const CliRun r = cli({"replay", "--decimals", "9", "x"});
    EXPECT_TRUE(r.err.contains("--decimals")) << r.err.toStdString();
}

// A status line has its kind and no value at all; with --stable-only a moving weight is not
// given either.
TEST(Cli, statusLinesCarryTheirKindAndANullValue) {
    const CliRun r = cli({"replay", "--instrument", "METTLER_DIALOG", "--stable-only", "-"},
                         "S S     100.00 g\r\nS D      99.98 g\r\nS +\r\nES\r\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList got;
    for (const QByteArray& l : r.out.trimmed().split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(l).object();
        got << o.value("status").toString() + "|" +
                   (o.value("value").isNull() ? QStringLiteral("null")
                                              : o.value("value").toString());
    }
    EXPECT_EQ(got, (QStringList{"STABLE|100.00", "UNSTABLE|null", "OVERLOAD|null", "ERROR|null"}));
}

TEST(Cli, unreadableInputAndUnopenablePortExitWithOne) {
    EXPECT_EQ(cli({"replay", "/nonexistent/capture.bin"}).exitCode, 1);
    const CliRun r = cli({"read", "--port", "/nonexistent/ttyNONE", "--count", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("SerOpenPort failed")) << r.err.toStdString();
}

TEST(Cli, presetsListsEveryPresetPlain) {
    const CliRun r = cli({"presets"});
    EXPECT_EQ(r.exitCode, 0);
    const QList<QByteArray> rows = r.out.trimmed().split('\n');
    EXPECT_EQ(rows.size(), 36);
    EXPECT_EQ(rows.front(), "GENERIC\tGeneric (numeric value)\tNUMBER\tNUMERIC");
    EXPECT_FALSE(r.out.contains("<html>"));
}

TEST(Cli, readsAPseudoTerminalUntilTheCount) {
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    QProcess p;
    p.setProgram(QStringLiteral(TALLYRA_BINARY_DIR "/bin/tallyra-cli"));
    p.setArguments(
        {"read", "--port", name, "--count", "2", "--seconds", "20", "--sound", "CLAVES"});
    p.start();
    ASSERT_TRUE(p.waitForStarted());
    // Write once the port is open (the opening discards what came before).
    QByteArray err;
    for (int i = 0; i < 100 && !err.contains("RTS:"); ++i) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
    }
    const char data[] = "ST,+1.25 g\r\nST,+2.50 g\r\nST,+3.75 g\r\n";
    ASSERT_EQ(::write(master, data, sizeof data - 1), static_cast<ssize_t>(sizeof data - 1));
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList got = lines(p.readAllStandardOutput());
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0], "1|ST,+1.25 g<13>|1.25|-");
    // The sound is opened as the window opens it; these machines have no audio device, so it
    // is reported and reading goes on without it.
    if (!QFile::exists(QStringLiteral("/dev/snd"))) {
        EXPECT_TRUE(err.contains("sound output cannot be used")) << err.toStdString();
    }
    ::close(slave);
    ::close(master);
}

TEST(Cli, exportedSettingsFileIsTheBaseAndExplicitOptionsWin) {
    const QString path = QStringLiteral(TALLYRA_BINARY_DIR "/cli-test-settings.xml");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(R"xml(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<!DOCTYPE preferences SYSTEM "http://java.sun.com/dtd/preferences.dtd">
<preferences EXTERNAL_XML_VERSION="1.0">
  <root type="user"><map/>
    <node name="com"><map/><node name="brindle"><map/><node name="Tallyra">
      <map>
        <entry key="decimalSeparator" value="COMMA"/>
        <entry key="decimalPlaces" value="1"/>
        <entry key="customRegEx" value="V=(\S+)"/>
        <entry key="inputTerminator" value="10"/>
      </map>
    </node></node></node>
  </root>
</preferences>
)xml");
    f.close();
    CliRun r = cli({"replay", "--settings", path, "-"}, "V=12.34\nV=-0.04\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"1|V=12.34<10>|12,3|-", "2|V=-0.04<10>|0,0|-"}));
    // The preset's line settings come with --instrument, but the custom pattern stays.
    r = cli({"replay", "--settings", path, "--instrument", "GENERIC", "--decimals", "2", "-"},
            "V=12.345\r");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), (QStringList{"1|V=12.345<13>|12,35|-"}));
    EXPECT_EQ(cli({"replay", "--settings", "/nonexistent.xml", "-"}).exitCode, 1);
}
