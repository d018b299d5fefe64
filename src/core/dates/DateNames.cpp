// Day and month names, and the AM/PM markers, used when formatting dates.
#include "dates/DateNames.h"

#include <langinfo.h>
#include <locale.h>

namespace halvika {

namespace {

DateNames& currentNames() {
    static DateNames names = DateNames::english();
    return names;
}

} // namespace

DateNames DateNames::english() {
    DateNames n;
    n.shortDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    n.longDays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    n.shortMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    n.longMonths = {"January", "February", "March",     "April",   "May",      "June",
                    "July",    "August",   "September", "October", "November", "December"};
    return n;
}

DateNames DateNames::fromEnvironmentLocale() {
    DateNames n = english();
    // A private locale object leaves the process-wide C locale alone.
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        return n;
    }
    for (int i = 0; i < 7; ++i) {
        n.shortDays[i] = nl_langinfo_l(ABDAY_1 + i, loc);
        n.longDays[i] = nl_langinfo_l(DAY_1 + i, loc);
    }
    for (int i = 0; i < 12; ++i) {
        n.shortMonths[i] = nl_langinfo_l(ABMON_1 + i, loc);
        n.longMonths[i] = nl_langinfo_l(MON_1 + i, loc);
    }
    const std::string am = nl_langinfo_l(AM_STR, loc);
    const std::string pm = nl_langinfo_l(PM_STR, loc);
    // Many 24-hour locales have no markers; keep the English ones for the 12-hour format.
    if (!am.empty() && !pm.empty()) {
        n.am = am;
        n.pm = pm;
    }
    freelocale(loc);
    return n;
}

const DateNames& DateNames::current() {
    return currentNames();
}

void DateNames::setCurrent(const DateNames& names) {
    currentNames() = names;
}

} // namespace halvika
