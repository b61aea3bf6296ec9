#include "platform/DateTime.h"

#include <array>
#include <chrono>
#include <cstddef>

namespace quillbox {

namespace {

constexpr std::array<std::string_view, 7> KWeekdays = {"日", "月", "火", "水", "木", "金", "土"};

std::string Digits(int value, std::size_t width)
{
    std::string text = std::to_string(value < 0 ? -value : value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int DayOfWeek(const TLocalDateTime& date)
{
    const std::chrono::year_month_day ymd{std::chrono::year{date.Year},
                                          std::chrono::month{static_cast<unsigned>(date.Month)},
                                          std::chrono::day{static_cast<unsigned>(date.Day)}};
    return static_cast<int>(std::chrono::weekday{std::chrono::sys_days{ymd}}.c_encoding());
}

std::string FormatDateTime(std::string_view pattern, const TLocalDateTime& date)
{
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"' || c == '\'') {
            const auto close = pattern.find(c, i + 1);
            const auto end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        if (!IsLetter(c)) {
            out.push_back(c);
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == Lower(c))
            ++run;
        const auto token = pattern.substr(i, run);
        switch (Lower(c)) {
        case 'y':
            if (run == 2)
                out += Digits(date.Year % 100, 2);
            else if (run == 4)
                out += Digits(date.Year, 4);
            else
                out.append(token);
            break;
        case 'm':
            if (run <= 2)
                out += Digits(date.Month, run);
            else
                out.append(token);
            break;
        case 'd':
            if (run <= 2)
                out += Digits(date.Day, run);
            else
                out.append(token);
            break;
        case 'a':
            if (run == 3)
                out.append(KWeekdays[static_cast<std::size_t>(DayOfWeek(date))]);
            else
                out.append(token);
            break;
        default:
            out.append(token);
            break;
        }
        i += run;
    }
    return out;
}

} // namespace quillbox
