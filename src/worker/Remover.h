#pragma once

#include <QString>

#include <bitset>

namespace serwedge::config {
class Config;
}

namespace serwedge::worker {

// Deletes every occurrence of a set of characters from a value.
class Remover {
public:
    // Reads the characters to remove once.
    explicit Remover(const config::Config& config);
    explicit Remover(QString removeCharacters);

    bool enabled() const { return !removeCharacters_.isEmpty(); }
    const QString& characters() const { return removeCharacters_; }

    // The value without any of the characters; unchanged when either is empty.
    QString removeCharacters(const QString& value) const;

private:
    QString removeCharacters_;
    // Characters 0..255 (the only ones settings accept) are looked up here.
    std::bitset<256> latin1_;
    bool hasWide_ = false;
};

// Deletes every whitespace run: blank, tab, line feed, vertical tab, form feed, carriage return.
QString removeWhitespace(const QString& value);

} // namespace serwedge::worker
