// The date-format language of display formats and the time teller's templates.
#include "dates/DateFormat.h"

#include "text/AsciiText.h"

#include <cctype>
#include <cstdio>

namespace halvika {

namespace {

constexpr std::string_view kShortDate = "yyyy-mm-dd";
constexpr std::string_view kLongDate = "dddd, d mmmm yyyy";
constexpr std::string_view kTime = "hh:nn:ss";

char lower(char c) {
    return AsciiText::lower(c);
}

bool startsWithIgnoringCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (pos + word.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower(text[pos + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

std::string twoDigits(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

int weekOfYear(const Date& date) {
    // Week 1 holds 1 January; weeks begin on Sunday.
    const int jan1Weekday = (date.dayOfWeek() - (date.dayOfYear() - 1) % 7 + 7) % 7;
    return (date.dayOfYear() - 1 + jan1Weekday) / 7 + 1;
}

class Formatter {
public:
    Formatter(std::string_view pattern, const Date& date, const DateNames& names)
        : m_pattern(pattern), m_date(date), m_names(names), m_twelveHour(hasClockMarker(pattern)) {}

    std::string run() {
        while (m_pos < m_pattern.size()) {
            step();
        }
        return m_out;
    }

private:
    static bool hasClockMarker(std::string_view p) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            if (startsWithIgnoringCase(p, i, "am/pm") || startsWithIgnoringCase(p, i, "a/p") ||
                startsWithIgnoringCase(p, i, "ampm")) {
                return true;
            }
        }
        return false;
    }

    std::size_t runLength(char letter) const {
        std::size_t n = 0;
        while (m_pos + n < m_pattern.size() && lower(m_pattern[m_pos + n]) == letter) {
            ++n;
        }
        return n;
    }

    void nested(std::string_view pattern) {
        Formatter inner(pattern, m_date, m_names);
        m_out += inner.run();
    }

    int displayHour() const {
        const int h = m_date.hour();
        if (!m_twelveHour) {
            return h;
        }
        return h % 12 == 0 ? 12 : h % 12;
    }

    void emitMarker(std::string_view amText, std::string_view pmText, std::size_t length) {
        const bool upper = std::isupper(static_cast<unsigned char>(m_pattern[m_pos])) != 0;
        std::string marker(m_date.hour() < 12 ? amText : pmText);
        for (char& c : marker) {
            c = upper ? AsciiText::upper(c) : lower(c);
        }
        m_out += marker;
        m_pos += length;
    }

    void step() {
        const char c = m_pattern[m_pos];
        if (c == '"') {
            const std::size_t end = m_pattern.find('"', m_pos + 1);
            const std::size_t stop = end == std::string_view::npos ? m_pattern.size() : end;
            m_out += m_pattern.substr(m_pos + 1, stop - m_pos - 1);
            m_pos = end == std::string_view::npos ? stop : end + 1;
            return;
        }
        if (c == '\\') {
            if (m_pos + 1 < m_pattern.size()) {
                m_out += m_pattern[m_pos + 1];
            }
            m_pos += 2;
            return;
        }
        if (startsWithIgnoringCase(m_pattern, m_pos, "am/pm")) {
            return emitMarker("am", "pm", 5);
        }
        if (startsWithIgnoringCase(m_pattern, m_pos, "a/p")) {
            return emitMarker("a", "p", 3);
        }
        if (startsWithIgnoringCase(m_pattern, m_pos, "ampm")) {
            m_out += m_date.hour() < 12 ? m_names.am : m_names.pm;
            m_pos += 4;
            return;
        }
        const char l = lower(c);
        const std::size_t n = runLength(l);
        bool wasHour = false;
        switch (l) {
        case 'd':
            if (n == 1) {
                m_out += std::to_string(m_date.day());
            } else if (n == 2) {
                m_out += twoDigits(m_date.day());
            } else if (n == 3) {
                m_out += m_names.shortDays[m_date.dayOfWeek()];
            } else if (n == 4) {
                m_out += m_names.longDays[m_date.dayOfWeek()];
            } else {
                nested(n == 5 ? kShortDate : kLongDate);
            }
            break;
        case 'm':
            if (n <= 2 && m_afterHour) {
                m_out += n == 1 ? std::to_string(m_date.minute()) : twoDigits(m_date.minute());
            } else if (n == 1) {
                m_out += std::to_string(m_date.month());
            } else if (n == 2) {
                m_out += twoDigits(m_date.month());
            } else if (n == 3) {
                m_out += m_names.shortMonths[m_date.month() - 1];
            } else {
                m_out += m_names.longMonths[m_date.month() - 1];
            }
            break;
        case 'y':
            if (n == 1) {
                m_out += std::to_string(m_date.dayOfYear());
            } else if (n <= 3) {
                m_out += twoDigits(m_date.year() % 100);
            } else {
                m_out += std::to_string(m_date.year());
            }
            break;
        case 'h':
            m_out += n == 1 ? std::to_string(displayHour()) : twoDigits(displayHour());
            wasHour = true;
            break;
        case 'n':
            m_out += n == 1 ? std::to_string(m_date.minute()) : twoDigits(m_date.minute());
            break;
        case 's':
            m_out += n == 1 ? std::to_string(m_date.second()) : twoDigits(m_date.second());
            break;
        case 'w':
            m_out += std::to_string(n == 1 ? m_date.dayOfWeek() + 1 : weekOfYear(m_date));
            break;
        case 'q':
            m_out += std::to_string((m_date.month() - 1) / 3 + 1);
            break;
        case 'c':
            nested(m_date.secondOfDay() == 0 ? kShortDate : std::string_view("yyyy-mm-dd hh:nn:ss"));
            break;
        case 't':
            if (n >= 5) {
                nested(kTime);
                m_pos += 5;
                m_out += std::string(n - 5, c);
                m_pos += n - 5;
                return;
            }
            m_out += std::string(n, c);
            m_pos += n;
            return;
        default:
            // Literal characters (separators, blanks, anything else) do not end an hour context.
            m_out += c;
            ++m_pos;
            return;
        }
        m_afterHour = wasHour;
        m_pos += n;
    }

    std::string_view m_pattern;
    const Date& m_date;
    const DateNames& m_names;
    bool m_twelveHour;
    bool m_afterHour = false;
    std::size_t m_pos = 0;
    std::string m_out;
};

} // namespace

std::string formatDate(std::string_view pattern, const Date& date, const DateNames& names) {
    return Formatter(pattern, date, names).run();
}

std::string formatDate(std::string_view pattern, const Date& date) {
    return formatDate(pattern, date, DateNames::current());
}

} // namespace halvika
