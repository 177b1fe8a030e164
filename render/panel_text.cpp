#include "render/panel_text.h"

std::vector<std::string> SplitPanelLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", start)) {
        lines.emplace_back(text.substr(start, at - start));
        start = at + 2;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

std::size_t LongestLineIndex(const std::vector<std::string>& lines)
{
    std::size_t longest = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // Strictly longer only: the first of equally long lines keeps its place.
        if (lines[i].size() > lines[longest].size()) longest = i;
    }
    return longest;
}
