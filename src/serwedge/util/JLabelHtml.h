#pragma once

#include <QString>

class QLabel;

namespace serwedge::util {

// Label texts with HTML and links.
class JLabelHtml {
public:
    static constexpr const char* HTML = "<html>";
    static constexpr const char* HTML_END = "</html>";
    static constexpr const char* A_HREF = "<a href=\"";
    static constexpr const char* HREF_CLOSED = "\">";
    static constexpr const char* HREF_END = "</a>";

    // HTML + text + HTML_END.
    static QString htmlIfy(const QString& text);
    // A_HREF + address + HREF_CLOSED + text + HREF_END.
    static QString linkIfy(const QString& address, const QString& text);
    // Makes the label show its text as rich text and open a clicked link in the standard
    // browser. Calling it again on the same label changes nothing.
    static void makeLinkable(QLabel* label);
    // Sets the text of such a label: as rich text when it begins with HTML, otherwise as plain
    // text, so that a text from outside shows its markup instead of obeying it.
    static void setText(QLabel* label, const QString& text);
};

} // namespace serwedge::util
