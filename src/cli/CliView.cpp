#include "cli/CliView.h"

#include "worker/DataLine.h"

#include <charconv>
#include <iterator>

namespace tallyra::cli {

using serwedge::worker::DataLine;

CliView::CliView(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

void CliView::printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::lock_guard lock(errMutex_);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), err_);
    std::fputc('\n', err_);
    std::fflush(err_);
}

void CliView::logEvent(const QString& text) {
    printErr(text);
}

void CliView::logImportantEvent(const QString& text) {
    printErr(QStringLiteral("! ") + text);
}

void CliView::setConnectedInGUI(bool connected) {
    connected_ = connected;
    if (!connected && afterEnd_)
        afterEnd_();
}

void CliView::showWarning(const QString& title, const QString& message) {
    printErr(QStringLiteral("! ") + title + QStringLiteral(": ") + message);
}

namespace {

char hexDigit(unsigned v) {
    return static_cast<char>(v < 10 ? '0' + v : 'a' + v - 10);
}

void appendUnicodeEscape(std::string& out, char16_t u) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hexDigit((u >> shift) & 0xF);
}

void appendNumber(std::string& out, long long n) {
    char digits[24];
    const auto r = std::to_chars(std::begin(digits), std::end(digits), n);
    out.append(digits, r.ptr);
}

// A JSON string as Qt's compact JSON writes it: quotes, backslashes and control characters
// escaped, everything else in UTF-8 (a lone surrogate as an escape).
void appendString(std::string& out, const QString& text) {
    out += '"';
    const char16_t* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    for (; p < end; ++p) {
        const char16_t u = *p;
        if (u >= 0x20 && u < 0x80 && u != u'"' && u != u'\\') {
            out += static_cast<char>(u);
        } else if (u < 0x80) {
            out += '\\';
            switch (u) {
            case u'"':
                out += '"';
                break;
            case u'\\':
                out += '\\';
                break;
            case u'\b':
                out += 'b';
                break;
            case u'\f':
                out += 'f';
                break;
            case u'\n':
                out += 'n';
                break;
            case u'\r':
                out += 'r';
                break;
            case u'\t':
                out += 't';
                break;
            default:
                out += "u00";
                out += hexDigit(u >> 4);
                out += hexDigit(u & 0xF);
            }
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && p + 1 < end && QChar::isLowSurrogate(p[1])) {
            const char32_t c = QChar::surrogateToUcs4(u, p[1]);
            ++p;
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (QChar::isSurrogate(u)) {
            appendUnicodeEscape(out, u);
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    out += '"';
}

// The received text as the log renders it (DataLine::getRawData), as a JSON string.
void appendRendered(std::string& out, const QString& raw) {
    out += '"';
    for (const QChar c : raw) {
        const char16_t u = c.unicode();
        if (u < 32 || u > 126) {
            out += '<';
            appendNumber(out, u);
            out += '>';
        } else {
            if (u == u'"' || u == u'\\')
                out += '\\';
            out += static_cast<char>(u);
        }
    }
    out += '"';
}

} // namespace

void CliView::appendJson(std::string& out, const DataLine& line) {
    out += "{\"count\":";
    appendNumber(out, line.getCount());
    out += line.isError() ? ",\"error\":true,\"raw\":" : ",\"error\":false,\"raw\":";
    appendRendered(out, line.rawBytes());
    out += ",\"status\":";
    if (line.getStatus())
        appendString(out, line.getStatus()->name());
    else
        out += "null";
    // A withheld line has no value at all, not an empty one.
    out += ",\"value\":";
    if (line.isWithheld())
        out += "null";
    else
        appendString(out, line.getProcessedData());
    out += '}';
}

QByteArray CliView::toJson(const DataLine& line) {
    std::string out;
    appendJson(out, line);
    return QByteArray::fromStdString(out);
}

void CliView::update(const DataLine& line) {
    ++printed_;
    if (quiet_)
        return;
    appendJson(pending_, line);
    pending_ += '\n';
}

void CliView::linesDelivered() {
    if (!pending_.empty()) {
        std::fwrite(pending_.data(), 1, pending_.size(), out_);
        pending_.clear(); // keeps its storage for the next batch
        std::fflush(out_);
    }
    if (afterBatch_)
        afterBatch_();
}

} // namespace tallyra::cli
