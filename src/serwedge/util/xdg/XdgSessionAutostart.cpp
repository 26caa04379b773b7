// Session autostart on Linux desktops: an XDG autostart entry.

#include "serwedge/util/SessionAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace serwedge::util {
namespace {

const QString kEntryName = QStringLiteral("tallyra.desktop");

constexpr QFile::Permissions kPrivateFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Characters that force an Exec argument into double quotes.
bool needsQuotes(const QString& arg) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (arg.isEmpty())
        return true;
    for (QChar c : arg)
        if (reserved.contains(c))
            return true;
    return false;
}

QString quoteArgument(const QString& arg) {
    QString out;
    for (QChar c : arg) {
        if (c == u'%') {
            out += QStringLiteral("%%");
            continue;
        }
        // Inside double quotes, these four are escaped with a backslash.
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return needsQuotes(arg) ? u'"' + out + u'"' : out;
}

// The string escapes of desktop entry values, applied after the Exec quoting.
QString escapeString(const QString& s) {
    QString out;
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Creates `path` and its missing parents with mode 0700.
bool makePrivateFolder(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists()) {
        error = QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makePrivateFolder(parent, error))
        return false;
    if (!QDir().mkdir(path, kPrivateFolder) && !QFileInfo(path).isDir()) {
        error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace

SessionAutostart::SessionAutostart() : location_(defaultLocation()) {}

SessionAutostart::SessionAutostart(QString location) : location_(std::move(location)) {}

QString SessionAutostart::defaultLocation() {
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the base directory rules say.
    const QString env = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(env))
        return env;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString SessionAutostart::entryPath() const {
    return location_ + QStringLiteral("/autostart/") + kEntryName;
}

bool SessionAutostart::isEnabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inMainGroup = false;
    bool sawMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QStringLiteral("Hidden") && value == QStringLiteral("true"))
            return false;
        if (key == QStringLiteral("X-GNOME-Autostart-enabled") && value == QStringLiteral("false"))
            return false;
    }
    // A file that is no desktop entry starts nothing.
    return sawMainGroup;
}

QString SessionAutostart::commandLine(const QStringList& command) {
    QStringList args;
    for (const QString& arg : command)
        args << quoteArgument(arg);
    return escapeString(args.join(u' '));
}

namespace {

QByteArray entryText(const QStringList& command) {
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Tallyra\n"
                                        "Exec=%1\n"
                                        "Icon=tallyra\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(SessionAutostart::commandLine(command));
    return text.toUtf8();
}

} // namespace

bool SessionAutostart::enable(const QStringList& command, QString& error) const {
    if (command.isEmpty() || command.front().isEmpty()) {
        error = QStringLiteral("no program to start");
        return false;
    }
    if (!makePrivateFolder(QFileInfo(entryPath()).absolutePath(), error))
        return false;
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText(command)) < 0 || !file.commit()) {
        error = QDir::toNativeSeparators(entryPath()) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

bool SessionAutostart::disable(QString& error) const {
    QFile file(entryPath());
    if (!QFileInfo::exists(entryPath()) && !QFileInfo(entryPath()).isSymLink())
        return true;
    if (!file.remove()) {
        error = QDir::toNativeSeparators(entryPath()) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

} // namespace serwedge::util
