// The text side of a text panel, apart from any drawing: how a panel's text falls
// into lines and which line sets the panel's line pitch.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Splits at every CR LF pair. A text ending in CR LF has a last, empty line; a
// lone CR or LF stays inside its line. There is always at least one line.
std::vector<std::string> SplitPanelLines(std::string_view text);

// Index of the line with the most characters; among equally long lines the first.
// 0 for an empty list.
std::size_t LongestLineIndex(const std::vector<std::string>& lines);
