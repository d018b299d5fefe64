// A clock that stands still until the test moves it.
#pragma once

#include "dates/DateUnits.h"
#include "platform/Clock.h"

namespace halvika::test {

class ManualClock : public Clock {
public:
    explicit ManualClock(Date start = Date::fromParts(2026, 3, 7, 7, 5, 0)) : m_now(start) {}
    Reading now() const override { return {m_now, m_millisecond}; }
    void set(const Date& date, int millisecond = 0) {
        m_now = date;
        m_millisecond = millisecond;
    }
    void advance(std::int32_t amount, std::int16_t unit) { m_now = dateAddUnit(m_now, amount, unit); }

private:
    Date m_now;
    int m_millisecond = 0;
};

} // namespace halvika::test
