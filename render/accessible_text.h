// What each drawing surface of the board says to a screen reader: the picture put
// into Italian words. The surfaces are painted from bitmaps, so without these names
// a reader would find nothing on them. Portable: no platform headers.
#pragma once

#include <string>
#include <string_view>

// The marks of an answer box in words, squares first: "2 quadrati, 1 cerchio",
// "1 quadrato", "3 cerchi". Only what the box shows counts: upper-case "Q" and
// "C" among the first four characters. A scored answer without marks is
// "nessuna cifra giusta"; a box that shows no marks and has not been scored says
// nothing (empty).
std::string AnswerInWords(std::string_view answer, bool scored);

// A row's input field: its label, then its guess line with each character read
// on its own ("Tentativo 03: 1 2 3 4"), an inner or leading blank as "spazio",
// or "vuoto" for a line with nothing in it.
std::string FieldName(std::string_view rowLabel, std::string_view guessLine);

// A text panel (a row label, the help panel): its lines joined by blanks, empty
// lines left out; a note, when there is one, follows as "nota: ...".
std::string TextPanelName(std::string_view text, std::string_view note);

// The information panels along the top, by control id, from the two texts they
// draw: the date and the digits not yet tried ("05-03-2026, cifre non provate:
// 0 8 9"), the time and the row caption ("ore 14:05:09, input # 3"), the
// elapsed seconds ("12.3 secondi"). Any other id gives both texts, trimmed,
// joined by a comma.
std::string InfoPanelName(int controlId, std::string_view topText, std::string_view bottomText);
