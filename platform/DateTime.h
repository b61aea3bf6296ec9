#pragma once

#include <string>
#include <string_view>

namespace quillbox {

// A local date and time as the clock gives it. Fields hold calendar values (Month 1-12, Day 1-31).
struct TLocalDateTime
{
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;

    bool operator==(const TLocalDateTime&) const = default;
};

// Source of the local date and time.
class IClock
{
public:
    IClock() = default;
    IClock(const IClock&) = delete;
    IClock& operator=(const IClock&) = delete;
    virtual ~IClock() = default;

    virtual TLocalDateTime Now() = 0;
};

// Day of the week of a Gregorian date, 0 for Sunday to 6 for Saturday.
int DayOfWeek(const TLocalDateTime& date);

// Formats the date part of `date` by a pattern in the class library's date-format syntax:
//   yy   the year's last two digits          yyyy  the year in four digits
//   m    the month, mm with two digits       d     the day, dd with two digits
//   aaa  the day of the week, one of 日月火水木金土, whatever the locale
//   "…" and '…' are copied without their quotes; every other byte is copied as it is.
// A letter run the syntax does not know (say "yyy") is copied as it is.
std::string FormatDateTime(std::string_view pattern, const TLocalDateTime& date);

} // namespace quillbox
