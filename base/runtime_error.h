// The run-time error box: the standard text and number of an error, " in " and the
// name of the operation in which it happened ("Subscript out of range 9 in EditField").
// After the box the main window closes.
#pragma once

#include <string>

struct RuntimeErrorKind {
    const char* text;
    int number;
};
inline constexpr RuntimeErrorKind kOverflow{"Overflow", 6};
inline constexpr RuntimeErrorKind kOutOfMemory{"Out of memory", 7};
inline constexpr RuntimeErrorKind kSubscriptOutOfRange{"Subscript out of range", 9};
inline constexpr RuntimeErrorKind kDivisionByZero{"Division by zero", 11};
inline constexpr RuntimeErrorKind kInternalError{"Internal error", 51};

std::string RuntimeErrorText(const RuntimeErrorKind& error, const char* operation);

// The box text for the exception being handled (call it inside a catch block):
// std::out_of_range is a subscript out of range, running out of memory is itself,
// anything else an internal error.
std::string CurrentExceptionText(const char* operation);
