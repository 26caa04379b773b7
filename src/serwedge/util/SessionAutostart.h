#pragma once

#include <QString>
#include <QStringList>

namespace serwedge::util {

// "Start with the desktop session" on Linux desktops: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/tallyra.desktop (by default ~/.config/autostart). The choice
// lives in that entry alone; the configuration record knows nothing of it.
class SessionAutostart {
public:
    // The entry of the current user: XDG_CONFIG_HOME when it is an absolute path, else
    // $HOME/.config.
    SessionAutostart();
    // The entry below the given configuration folder.
    explicit SessionAutostart(QString configHome);

    static QString defaultConfigHome();

    QString configHome() const { return configHome_; }
    QString entryPath() const;

    // True when the entry exists and is not switched off: desktop settings tools keep an entry
    // but set Hidden=true or X-GNOME-Autostart-enabled=false.
    bool isEnabled() const;

    // Writes the entry that starts `command` (the program and its arguments), replacing any
    // entry there, atomically. Creates missing folders with mode 0700. On failure returns false
    // and sets `error` to the reason; nothing is half-written.
    bool enable(const QStringList& command, QString& error) const;

    // Removes the entry. An absent entry is not an error.
    bool disable(QString& error) const;

    bool setEnabled(bool on, const QStringList& command, QString& error) const {
        return on ? enable(command, error) : disable(error);
    }

    // The text of the entry for `command`.
    static QByteArray entryText(const QStringList& command);

    // The Exec value for `command`: arguments with reserved characters quoted, "%" doubled,
    // and the string escapes of desktop entries applied, as freedesktop.org's rules for desktop
    // entries ask.
    static QString execValue(const QStringList& command);

private:
    QString configHome_;
};

} // namespace serwedge::util
