#pragma once

#include <QString>
#include <QStringList>

namespace serwedge::util {

// "Start when the user logs in", kept where the desktop looks for it; the configuration record
// knows nothing of it. Per operating system (chosen by CMake):
// - Linux desktops: an XDG autostart entry, <location>/autostart/tallyra.desktop, where the
//   location is the configuration folder ($XDG_CONFIG_HOME, by default ~/.config).
// - Windows: the value "Tallyra" of a key below HKEY_CURRENT_USER, where the location is the
//   key (by default Software\Microsoft\Windows\CurrentVersion\Run).
class SessionAutostart {
public:
    // The current user's entry.
    SessionAutostart();
    // The entry in another location, as above.
    explicit SessionAutostart(QString location);

    static QString defaultLocation();

    QString location() const { return location_; }
    // Where the entry lives, for messages: a file path, or a registry key and value name.
    QString entryPath() const;

    // True when the entry exists and the desktop has not switched it off (settings tools keep
    // an entry but mark it as disabled).
    bool isEnabled() const;

    // Writes the entry that starts `command` (the program and its arguments), replacing any
    // entry there and switching it on again. On failure returns false and sets `error` to the
    // reason; nothing is half-written.
    bool enable(const QStringList& command, QString& error) const;

    // Removes the entry. An absent entry is not an error.
    bool disable(QString& error) const;

    bool setEnabled(bool on, const QStringList& command, QString& error) const {
        return on ? enable(command, error) : disable(error);
    }

    // `command` as one command line in the form the entry holds: for XDG the Exec value
    // (reserved characters quoted, "%" doubled, the string escapes of desktop entries); for
    // Windows quoted so that the system's command-line parsing gives back each argument.
    static QString commandLine(const QStringList& command);

private:
    QString location_;
};

} // namespace serwedge::util
