#include "game/clock.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "base/text.h"

namespace {

// The decimal digits of mantissa * 2^shift, a whole number that can run to a few
// hundred digits for the largest doubles. Kept in base 10^9 limbs, lowest first,
// so that the digits are exact rather than those of a rounded conversion.
std::string WholeDigits(std::uint64_t mantissa, int shift)
{
    constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint64_t> limbs;
    do {
        limbs.push_back(mantissa % kBase);
        mantissa /= kBase;
    } while (mantissa != 0);
    for (int i = 0; i < shift; ++i) {
        std::uint64_t carry = 0;
        for (std::uint64_t& limb : limbs) {
            const std::uint64_t doubled = limb * 2 + carry;
            limb = doubled % kBase;
            carry = doubled / kBase;
        }
        if (carry != 0) limbs.push_back(carry);
    }
    std::string text = std::to_string(limbs.back());
    for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) {
        const std::string part = std::to_string(*limb);
        text += std::string(9 - part.size(), '0') + part;
    }
    return text;
}

// mantissa / 2^shift in tenths, rounded to the nearest tenth and an exact half to
// the even one. Whole-number arithmetic throughout, so the remainder compared with
// the half is the true one: no multiplication by 10 in floating point, which would
// round before the decision is made.
std::uint64_t RoundedTenths(std::uint64_t mantissa, int shift)
{
    const std::uint64_t scaled = mantissa * 10;  // mantissa < 2^53, so this is < 2^57
    if (shift >= 58) return 0;                   // below a twentieth: less than half a tenth
    const std::uint64_t tenths = scaled >> shift;
    const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (remainder > half || (remainder == half && tenths % 2 == 1)) return tenths + 1;
    return tenths;
}

// A step of the game clock is a change of the wall clock, not time played, when
// the wall clock moved by more than this much more or less than the monotonic one.
// In an honest step the two disagree only by their resolution (the local time
// changes at the system timer's tick of 10 to 16 ms, a tick-count clock in steps
// of the same size), by the moment between the two reads, during which the thread
// may be held up, and by a drift of some parts per million, or the time service
// slewing the wall clock: tens of milliseconds, seldom more. Each step is checked
// on its own, against the previous reading, so drift never adds up over a long
// game. Real changes are far larger: a day at midnight, an hour or half an hour
// for daylight saving, minutes when the clock is set by hand. A change below a
// second is left in the figure, where it is hardly noticed.
constexpr double kJumpTolerance = 1.0;

// Midnight and daylight saving move the time of day by whole quarter hours (every
// zone offset is one). A jump that close to such a multiple is folded as that
// multiple, so that the elapsed panel stays in step with the seconds of the
// time-of-day panel beside it, instead of carrying the tens of milliseconds of
// noise of the step in which the jump was seen.
constexpr double kQuarterHour = 900.0;

}  // namespace

std::string TimeText(const LocalTime& t)
{
    return TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string ClockTopText(const LocalTime& t) { return " " + TimeText(t) + " "; }

std::string AttemptCaption(std::int32_t currentAttempt) { return "input #" + NumberText(currentAttempt); }

std::string ElapsedText(double seconds)
{
    // Compared, not read from the sign bit: -0.0 is zero and is written as zero.
    const bool negative = seconds < 0;

    // |seconds| = mantissa * 2^shift exactly, with a whole mantissa below 2^53.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(seconds), &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = exponent - 53;

    std::string whole;
    char tenth = '0';
    if (shift >= 0) {
        whole = WholeDigits(mantissa, shift);  // a whole number: its tenth is 0
    } else {
        const std::uint64_t tenths = RoundedTenths(mantissa, -shift);
        whole = std::to_string(tenths / 10);
        tenth = static_cast<char>('0' + tenths % 10);
    }
    // The four places of the panel's mask only pad with blanks on the left, and
    // those are trimmed off, so the text is just the sign and the digits.
    return (negative ? "-" : "") + whole + "." + tenth + " s";
}

GameClock StartGameClock(double wallSecondsSinceMidnight, double steadySeconds)
{
    GameClock clock;
    clock.startTime = RoundHalfEven(wallSecondsSinceMidnight);
    clock.lastWall = wallSecondsSinceMidnight;
    clock.lastSteady = steadySeconds;
    return clock;
}

double ElapsedSeconds(GameClock& clock, double wallSecondsSinceMidnight, double steadySeconds)
{
    // The monotonic clock is trusted for how much time passed in this step; time it
    // does not count (a machine asleep, if it stops then) is not counted as played.
    const double jump = (wallSecondsSinceMidnight - clock.lastWall) - (steadySeconds - clock.lastSteady);
    if (std::fabs(jump) > kJumpTolerance) {
        const double quarterHours = std::round(jump / kQuarterHour) * kQuarterHour;
        clock.correction -= std::fabs(jump - quarterHours) <= kJumpTolerance ? quarterHours : jump;
    }
    clock.lastWall = wallSecondsSinceMidnight;
    clock.lastSteady = steadySeconds;
    // Until the first jump the correction is 0 and this is the plain time-of-day
    // difference to the last bit.
    return (wallSecondsSinceMidnight - static_cast<double>(clock.startTime)) + clock.correction;
}

LocalTime LocalTimeOfMilliseconds(std::int64_t sinceEpoch)
{
    using namespace std::chrono;
    const sys_time<milliseconds> now{milliseconds{sinceEpoch}};
    const year_month_day date{floor<days>(now)};
    const hh_mm_ss time{now - floor<days>(now)};
    LocalTime t{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())), int(time.hours().count())};
    t.minute = int(time.minutes().count());
    t.second = int(time.seconds().count());
    t.millisecond = int(time.subseconds().count());
    return t;
}

LocalTime StandardLocalTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    t.millisecond = static_cast<int>(ms < 0 ? ms + 1000 : ms);
    return t;
}

double StandardSteadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
