// The texts of the two clock panels and the game clock behind the elapsed panel.
// Portable: no platform headers, and no clock is read here but by the two standard
// readings at the end, which a shell may use; every figure is computed from times
// passed in, so it can be checked without waiting for real time to pass.
#pragma once

#include <cstdint>
#include <string>

#include "base/rounding.h"
#include "game/game_state.h"

// "HH:MM:SS", each part with a leading zero: "14:05:09".
std::string TimeText(const LocalTime& t);

// The top text of the time-of-day panel: a blank, the time text, a blank.
std::string ClockTopText(const LocalTime& t);

// The bottom text of the time-of-day panel: "input # 3" for row 3.
std::string AttemptCaption(std::int32_t currentAttempt);

// Seconds as the elapsed panel writes them: one decimal, then " s".
// The tenth is rounded from the exact binary value of seconds, and only a value
// that lies exactly halfway between two tenths goes to the even one: 12.25 is
// stored exactly and gives "12.2 s", while 0.05 is stored a little above 0.05 and
// gives "0.1 s". There is always a digit before the point ("0.4 s"), a negative
// value keeps its sign even when it rounds to zero ("-0.0 s" for -0.04), and large
// values are written with all their digits ("123456.7 s"). -0.0 is zero, not a
// negative value, and gives "0.0 s". The seconds of a game are finite. The text
// does not depend on the locale.
std::string ElapsedText(double seconds);

// The clock of the elapsed panel.
//
// The elapsed time is the local time of day now minus startTime, the time of day
// at the start rounded to a whole second. The wall clock alone would make the
// panel drop by a day after midnight and jump by an hour when daylight saving
// starts or ends, or by whatever amount the clock is set by hand. So each reading
// also carries a monotonic clock: as long as the wall clock advances with it, the
// figure is exactly the time-of-day difference; a step in which the wall clock
// moves differently is a change of the clock, not time played, and it is folded
// into correction, from which later readings go on.
struct GameClock {
    std::int32_t startTime = 0;  // seconds since midnight at the start, whole
    double lastWall = 0;         // the readings of the previous call, against
    double lastSteady = 0;       // which the next one looks for a jump
    double correction = 0;       // the wall-clock jumps so far, taken back out
};

// wallSecondsSinceMidnight is SecondsSinceMidnight of the local time;
// steadySeconds any monotonic clock that counts in seconds, read at the same moment.
GameClock StartGameClock(double wallSecondsSinceMidnight, double steadySeconds);

// The seconds played so far. Updates the clock with this reading, so readings must
// be passed in the order they were taken.
double ElapsedSeconds(GameClock& clock, double wallSecondsSinceMidnight, double steadySeconds);

// A local wall clock counted in milliseconds since 1970-01-01, as a browser's
// page or a test keeps one: the date and time of day come out of it as from UTC.
LocalTime LocalTimeOfMilliseconds(std::int64_t sinceEpoch);

// The standard library's readings: the local date and time, and a monotonic clock
// in seconds.
LocalTime StandardLocalTime();
double StandardSteadySeconds();

// The two clocks a shell reads, passed around so that tests can drive them.
struct Clocks {
    LocalTime (*localTime)() = StandardLocalTime;
    double (*steadySeconds)() = StandardSteadySeconds;
};
