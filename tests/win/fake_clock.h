// A clock the test moves by hand, behind both of the game's clock seams: the local
// time of day (SetLocalTimeSource) and the monotonic clock (SetSteadyClockSource).
// Both advance together, as they do in a real run, unless a test sets the wall
// clock on its own.
#pragma once

#include <cstdint>

#include "app/clock.h"
#include "game/game_state.h"

namespace fakeClock {

// Milliseconds of the fake wall clock since midnight of 1 January 2026 (day 0), and
// of the fake monotonic clock since an arbitrary origin.
inline std::int64_t wallMs = 0;
inline std::int64_t steadyMs = 0;

inline LocalTime Local()
{
    constexpr std::int64_t kDay = 86400000;
    const std::int64_t day = wallMs / kDay;
    const std::int64_t ms = wallMs % kDay;
    LocalTime t;
    t.year = 2026;
    t.month = 1 + static_cast<int>(day / 28) % 12;  // every month 28 days long is enough here
    t.day = 1 + static_cast<int>(day % 28);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}
inline double Steady() { return static_cast<double>(steadyMs) / 1000.0; }

// Sets the wall clock to a time of day on day 0 and puts both seams in place.
inline void Start(int hour, int minute, int second, int millisecond)
{
    wallMs = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
    steadyMs = 5000000;
    SetLocalTimeSource(Local);
    SetSteadyClockSource(Steady);
}
inline void Advance(std::int64_t ms)
{
    wallMs += ms;
    steadyMs += ms;
}
inline void Stop()
{
    SetLocalTimeSource(nullptr);
    SetSteadyClockSource(nullptr);
}

}  // namespace fakeClock
