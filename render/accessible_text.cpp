#include "render/accessible_text.h"

#include <algorithm>
#include <cstddef>

#include "base/board_constants.h"
#include "base/text.h"

namespace {

// "1 quadrato", "2 quadrati".
std::string Counted(int count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// Each character as a word of its own, so that "1234" is read as four digits and
// not as a number.
std::string SpelledOut(std::string_view text)
{
    std::string words;
    for (const char c : text) {
        if (!words.empty()) words += ' ';
        if (c == ' ') {
            words += "spazio";
        } else {
            words += c;
        }
    }
    return words;
}

}  // namespace

std::string AnswerInWords(std::string_view answer, bool scored)
{
    // The box has four cells: a fifth mark would fall outside it.
    const std::string_view shown = answer.substr(0, 4);
    const auto squares = static_cast<int>(std::count(shown.begin(), shown.end(), 'Q'));
    const auto circles = static_cast<int>(std::count(shown.begin(), shown.end(), 'C'));
    std::string words;
    if (squares > 0) words = Counted(squares, "quadrato", "quadrati");
    if (circles > 0) words += (words.empty() ? "" : ", ") + Counted(circles, "cerchio", "cerchi");
    if (words.empty() && scored) words = "nessuna cifra giusta";
    return words;
}

std::string FieldName(std::string_view rowLabel, std::string_view guessLine)
{
    // Trailing blanks show nothing; leading and inner ones are places on the line.
    const auto last = guessLine.find_last_not_of(' ');
    const std::string_view shown = last == std::string_view::npos ? std::string_view{} : guessLine.substr(0, last + 1);
    return std::string(rowLabel) + ": " + (shown.empty() ? std::string("vuoto") : SpelledOut(shown));
}

std::string TextPanelName(std::string_view text, std::string_view note)
{
    std::string name;
    for (const std::string& each : SplitAtLineBreaks(text)) {
        const std::string_view line = TrimBlanks(each);
        if (!line.empty()) name += (name.empty() ? "" : " ") + std::string(line);
    }
    const std::string_view noteShown = TrimBlanks(note);
    if (!noteShown.empty()) name += (name.empty() ? "nota: " : ", nota: ") + std::string(noteShown);
    return name;
}

std::string InfoPanelName(int controlId, std::string_view topText, std::string_view bottomText)
{
    const std::string top(TrimBlanks(topText));
    const std::string bottom(TrimBlanks(bottomText));
    switch (controlId) {
    case kDigitPanel: {
        // The panel writes a tried digit as "-"; a reader is told the digits left.
        std::string digits;
        for (const char c : bottom) {
            if (c == '-' || c == ' ') continue;
            digits += (digits.empty() ? "" : " ") + std::string(1, c);
        }
        return top + ", cifre non provate: " + (digits.empty() ? "nessuna" : digits);
    }
    case kClockPanel: return "ore " + top + ", " + bottom;
    case kElapsedPanel: {
        // "12.3 s" over "secondi": the unit once, in words.
        std::string_view seconds = top;
        if (seconds.ends_with(" s")) seconds.remove_suffix(2);
        return std::string(seconds) + " " + bottom;
    }
    default: break;
    }
    if (top.empty()) return bottom;
    if (bottom.empty()) return top;
    return top + ", " + bottom;
}
