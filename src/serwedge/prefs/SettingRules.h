#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace serwedge::prefs {

// The keys of the program's settings node, in the order the settings are loaded.
QStringList settingKeys();

// Whether the text is an acceptable stored value of the setting under the key, by the rules the
// panels and the command line apply: an identifier of the enumeration, a position or byte value
// as a decimal integer in range, a text the rule holder accepts, "true" or "false" for a flag.
// Nothing for a key that is not a setting of the program.
std::optional<bool> isValidStoredValue(const QString& key, const QString& text);

} // namespace serwedge::prefs
