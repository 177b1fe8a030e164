#include "base/text.h"

std::string TwoDigits(int n)
{
    return std::string{static_cast<char>('0' + (n / 10) % 10), static_cast<char>('0' + n % 10)};
}

std::string NumberText(std::int64_t n)
{
    std::string text = std::to_string(n);
    if (n >= 0) text.insert(text.begin(), ' ');
    return text;
}

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitAtLineBreaks(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find(kLineBreak); at != std::string_view::npos; at = text.find(kLineBreak, start)) {
        lines.emplace_back(text.substr(start, at - start));
        start = at + 2;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}
