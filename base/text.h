// Small text helpers that the game's texts, panels and screen-reader names share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A line break inside a text: carriage return and line feed.
inline constexpr const char* kLineBreak = "\r\n";

// The last two decimal digits of a number that is not negative: 7 -> "07", 14 -> "14".
std::string TwoDigits(int n);

// A whole number as the program writes it into texts: a blank before a number that
// is not negative (" 3", " 0"), the minus sign before a negative one ("-2").
std::string NumberText(std::int64_t n);

// The text without its leading and trailing blanks (only blanks: other white
// space is part of the text).
std::string_view TrimBlanks(std::string_view text);

// Splits at every CR LF pair. A text ending in CR LF has a last, empty line; a
// lone CR or LF stays inside its line. There is always at least one line.
std::vector<std::string> SplitAtLineBreaks(std::string_view text);
