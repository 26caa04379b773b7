#include "outputs/Reading.h"

#include <QTimeZone>

#include <cstring>

namespace serwedge::outputs {

namespace {

const QByteArray& zoneName() {
    static const QByteArray name = QTimeZone::systemTimeZoneId();
    return name;
}

// The local time's offset from UTC at an instant. Asking the time zone is slow, and offsets
// change only at quarter hours of UTC (daylight saving time and the like), so the answer is kept
// for the quarter hour of the instant, per thread.
int offsetSeconds(qint64 utcMs) {
    constexpr qint64 kQuarter = 15 * 60 * 1000;
    thread_local qint64 from = 1;
    thread_local qint64 to = 0;
    thread_local int offset = 0;
    if (utcMs < from || utcMs >= to) {
        from = utcMs - ((utcMs % kQuarter) + kQuarter) % kQuarter;
        to = from + kQuarter;
        offset = QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
    }
    return offset;
}

// Days since 1970-01-01 to the civil date (proleptic Gregorian).
void civil(qint64 days, int& y, int& m, int& d) {
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 doe = days - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

qint64 floorDiv(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Writes into a byte array made large enough beforehand: no allocation and no bounds check per
// piece. Each string reserves six bytes per UTF-16 unit, the most its JSON form can take.
class Writer {
public:
    explicit Writer(QByteArray& out) : out_(out), start_(out.size()) {}
    ~Writer() { out_.truncate(start_ + (p_ - begin_)); }

    void reserve(qsizetype bytes) {
        const qsizetype used = p_ - begin_;
        out_.resize(start_ + used + bytes);
        begin_ = out_.data() + start_;
        p_ = begin_ + used;
    }
    void raw(const char* text, qsizetype n) {
        std::memcpy(p_, text, size_t(n));
        p_ += n;
    }
    template <qsizetype N> void raw(const char (&text)[N]) { raw(text, N - 1); }
    void digits(qint64 v, int width) {
        char tmp[24];
        int n = 0;
        const bool negative = v < 0;
        quint64 u = negative ? quint64(-(v + 1)) + 1 : quint64(v);
        do {
            tmp[n++] = char('0' + u % 10);
            u /= 10;
        } while (u);
        if (negative)
            *p_++ = '-';
        for (int i = n; i < width; ++i)
            *p_++ = '0';
        while (n)
            *p_++ = tmp[--n];
    }
    // A JSON string: quotes, backslashes and control characters escaped; UTF-8.
    void string(const QString& text) {
        static const char hex[] = "0123456789abcdef";
        *p_++ = '"';
        const auto* c = reinterpret_cast<const char16_t*>(text.constData());
        const char16_t* end = c + text.size();
        for (; c < end; ++c) {
            const char16_t u = *c;
            if (u >= 0x20 && u < 0x80 && u != '"' && u != '\\') {
                *p_++ = char(u);
            } else if (u < 0x80) {
                *p_++ = '\\';
                switch (u) {
                case '"':
                case '\\':
                    *p_++ = char(u);
                    break;
                case '\n':
                    *p_++ = 'n';
                    break;
                case '\r':
                    *p_++ = 'r';
                    break;
                case '\t':
                    *p_++ = 't';
                    break;
                default:
                    raw("u00");
                    *p_++ = hex[u >> 4];
                    *p_++ = hex[u & 15];
                }
            } else if (u < 0x800) {
                *p_++ = char(0xC0 | (u >> 6));
                *p_++ = char(0x80 | (u & 0x3F));
            } else if (QChar::isHighSurrogate(u) && c + 1 < end && QChar::isLowSurrogate(c[1])) {
                const char32_t cp = QChar::surrogateToUcs4(u, c[1]);
                ++c;
                *p_++ = char(0xF0 | (cp >> 18));
                *p_++ = char(0x80 | ((cp >> 12) & 0x3F));
                *p_++ = char(0x80 | ((cp >> 6) & 0x3F));
                *p_++ = char(0x80 | (cp & 0x3F));
            } else {
                const char16_t v = QChar::isSurrogate(u) ? char16_t(0xFFFD) : u; // a lone half
                *p_++ = char(0xE0 | (v >> 12));
                *p_++ = char(0x80 | ((v >> 6) & 0x3F));
                *p_++ = char(0x80 | (v & 0x3F));
            }
        }
        *p_++ = '"';
    }
    void member(const char* name, qsizetype n) {
        *p_++ = ',';
        *p_++ = '"';
        raw(name, n);
        *p_++ = '"';
        *p_++ = ':';
    }
    template <qsizetype N> void member(const char (&name)[N]) { member(name, N - 1); }
    void flag(bool b) { b ? raw("true") : raw("false"); }
    void localTime(const QDateTime& instant) {
        const qint64 utc = instant.toMSecsSinceEpoch();
        const int offset = offsetSeconds(utc);
        const qint64 local = utc + offset * 1000LL;
        const qint64 days = floorDiv(local, 86400000);
        const qint64 ms = local - days * 86400000;
        int y, m, d;
        civil(days, y, m, d);
        digits(y, 4);
        *p_++ = '-';
        digits(m, 2);
        *p_++ = '-';
        digits(d, 2);
        *p_++ = 'T';
        digits(ms / 3600000, 2);
        *p_++ = ':';
        digits(ms / 60000 % 60, 2);
        *p_++ = ':';
        digits(ms / 1000 % 60, 2);
        *p_++ = '.';
        digits(ms % 1000, 3);
        if (offset == 0) {
            *p_++ = 'Z';
            return;
        }
        const int a = offset < 0 ? -offset : offset;
        *p_++ = offset < 0 ? '-' : '+';
        digits(a / 3600, 2);
        *p_++ = ':';
        digits(a / 60 % 60, 2);
    }

private:
    QByteArray& out_;
    qsizetype start_;
    char* begin_ = nullptr;
    char* p_ = nullptr;
};

} // namespace

QDate localDate(const QDateTime& instant) {
    const qint64 ms = instant.toMSecsSinceEpoch();
    int y, m, d;
    civil(floorDiv(ms + offsetSeconds(ms) * 1000LL, 86400000), y, m, d);
    return QDate(y, m, d);
}

void appendLocalTime(QByteArray& out, const QDateTime& instant) {
    Writer w(out);
    w.reserve(40);
    w.localTime(instant);
}

void appendJson(QByteArray& out, const Reading& r, const QByteArray& extraMembers) {
    Writer w(out);
    w.reserve(256 + zoneName().size() + extraMembers.size() +
              6 * (r.port.size() + r.preset.size() + r.raw.size() + r.value.size() +
                   r.status.size() + r.failure.size()));
    w.raw("{\"time\":\"");
    w.localTime(r.instant);
    w.raw("\",\"zone\":\"");
    w.raw(zoneName().constData(), zoneName().size());
    w.raw("\"");
    w.member("port");
    w.string(r.port);
    w.member("preset");
    w.string(r.preset);
    w.member("line");
    w.digits(r.count, 1);
    w.member("raw");
    w.string(r.raw);
    w.member("value");
    if (r.value.isEmpty())
        w.raw("null");
    else
        w.string(r.value);
    if (!r.status.isEmpty()) {
        w.member("status");
        w.string(r.status);
    }
    if (!r.failure.isEmpty()) {
        w.member("failure");
        w.string(r.failure);
    }
    w.member("error");
    w.flag(r.error);
    w.member("typed");
    w.flag(r.typed);
    w.member("ignored");
    w.flag(r.ignored);
    w.raw(extraMembers.constData(), extraMembers.size());
    w.raw("}");
}

} // namespace serwedge::outputs
