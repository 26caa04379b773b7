// Session autostart on Windows: the value "Tallyra" of the current user's Run key, which
// Explorer starts at log-in. Explorer's startup settings (Task Manager, Settings > Apps >
// Startup) switch an entry off without removing it, through a binary value of the same name
// below Explorer\StartupApproved\Run beside the Run key.

#include "serwedge/util/SessionAutostart.h"

#include <algorithm>
#include <string>
#include <utility>
#include <windows.h>

namespace serwedge::util {
namespace {

const std::wstring kValueName = L"Tallyra";

std::wstring wide(const QString& s) {
    return s.toStdWString();
}

QString systemMessage(LONG code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = n && text ? QString::fromWCharArray(text, static_cast<qsizetype>(n))
                                : QStringLiteral("error %1").arg(code);
    if (text)
        LocalFree(text);
    return message.trimmed();
}

// "…\CurrentVersion\Run" -> "…\CurrentVersion\Explorer\StartupApproved\Run".
std::wstring approvalKey(const QString& location) {
    const qsizetype cut = location.lastIndexOf(u'\\');
    if (cut < 0)
        return wide(QStringLiteral("Explorer\\StartupApproved\\") + location);
    return wide(location.left(cut) + QStringLiteral("\\Explorer\\StartupApproved\\") +
                location.mid(cut + 1));
}

// Explorer marks a switched-off entry with an odd first byte (02 on, 03 off).
bool switchedOffByExplorer(const QString& location) {
    BYTE data[64] = {};
    DWORD size = sizeof data;
    const LONG rc = RegGetValueW(HKEY_CURRENT_USER, approvalKey(location).c_str(),
                                 kValueName.c_str(), RRF_RT_REG_BINARY, nullptr, data, &size);
    return rc == ERROR_SUCCESS && size > 0 && (data[0] & 1) != 0;
}

LONG removeApproval(const QString& location) {
    const LONG rc =
        RegDeleteKeyValueW(HKEY_CURRENT_USER, approvalKey(location).c_str(), kValueName.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

// One argument quoted so that CommandLineToArgvW and the C runtime give it back unchanged:
// inside quotes, backslashes are literal except before a quote or the closing quote.
QString quoteArgument(const QString& arg) {
    const bool plain = !arg.isEmpty() && std::none_of(arg.begin(), arg.end(), [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'"';
    });
    if (plain)
        return arg;
    QString out(u'"');
    qsizetype backslashes = 0;
    for (QChar c : arg) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        out += QString(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        out += c;
        backslashes = 0;
    }
    out += QString(2 * backslashes, u'\\');
    out += u'"';
    return out;
}

} // namespace

SessionAutostart::SessionAutostart() : location_(defaultLocation()) {}

SessionAutostart::SessionAutostart(QString location) : location_(std::move(location)) {}

QString SessionAutostart::defaultLocation() {
    return QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

QString SessionAutostart::entryPath() const {
    return QStringLiteral("HKEY_CURRENT_USER\\") + location_ + u'\\' +
           QString::fromStdWString(kValueName);
}

bool SessionAutostart::isEnabled() const {
    DWORD size = 0;
    const LONG rc =
        RegGetValueW(HKEY_CURRENT_USER, wide(location_).c_str(), kValueName.c_str(),
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, nullptr, &size);
    // An empty text (one terminating null) starts nothing.
    return rc == ERROR_SUCCESS && size > sizeof(wchar_t) && !switchedOffByExplorer(location_);
}

QString SessionAutostart::commandLine(const QStringList& command) {
    QStringList args;
    for (const QString& arg : command)
        args << quoteArgument(arg);
    return args.join(u' ');
}

bool SessionAutostart::enable(const QStringList& command, QString& error) const {
    if (command.isEmpty() || command.front().isEmpty()) {
        error = QStringLiteral("no program to start");
        return false;
    }
    const std::wstring text = wide(commandLine(command));
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, wide(location_).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) {
        rc = RegSetValueExW(key, kValueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (rc == ERROR_SUCCESS)
        rc = removeApproval(location_); // switched on again
    if (rc != ERROR_SUCCESS) {
        error = entryPath() + QStringLiteral(": ") + systemMessage(rc);
        return false;
    }
    return true;
}

bool SessionAutostart::disable(QString& error) const {
    LONG rc = RegDeleteKeyValueW(HKEY_CURRENT_USER, wide(location_).c_str(), kValueName.c_str());
    if (rc == ERROR_FILE_NOT_FOUND)
        rc = ERROR_SUCCESS;
    if (rc == ERROR_SUCCESS)
        rc = removeApproval(location_);
    if (rc != ERROR_SUCCESS) {
        error = entryPath() + QStringLiteral(": ") + systemMessage(rc);
        return false;
    }
    return true;
}

} // namespace serwedge::util
