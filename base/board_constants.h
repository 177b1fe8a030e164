// What the board is made of, defined once for every part of the program: the ids
// of its surfaces, toggles and commands, its colours, its faces and its fixed texts.
#pragma once

#include <cstdint>

#include "base/version.h"

// A 24-bit colour laid out as 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

constexpr int kRowCount = 14;
constexpr int kDigitCount = 4;

// --- Ids --------------------------------------------------------------------

constexpr int kDigitPanel = 111;
constexpr int kClockPanel = 112;
constexpr int kElapsedPanel = 113;
constexpr int kCrossOutToggleBase = 601;   // + digit 0..9
constexpr int kHighlightToggleBase = 701;  // + digit 0..9
constexpr int kRowLabelBase = 300;         // + row 1..14
constexpr int kRowFieldBase = 400;         // + row 1..14
constexpr int kAnswerSurfaceBase = 500;    // + row 1..14
constexpr int kHelpPanel = 1300;
constexpr int kAuthorCommand = 4060;
constexpr int kCancelCommand = 2;
// Enter comes to the window as the default command: the last toggle made.
constexpr int kDefaultCommand = kHighlightToggleBase + 9;
constexpr int kClockTimer = 20;
constexpr unsigned kClockPeriodMs = 100;

// --- Colours -----------------------------------------------------------------

constexpr Colour kInkColour = 0x191919;
constexpr Colour kFieldColour = 0xD7D7D7;
constexpr Colour kLabelInkColour = 0x191919;
constexpr Colour kPanelColour = 0xCDCDCD;
constexpr Colour kHelpInkColour = 0x643232;
constexpr Colour kNoteColour = 0x0000FF;
constexpr Colour kInfoTopColour = 0x1E321E;
constexpr Colour kInfoTopInkColour = 0xFFFFFF;
constexpr Colour kInfoBorderColour = 0x1E501E;
constexpr Colour kInfoBottomFillColour = 0xC0C0C0;
constexpr Colour kInfoBottomInkColour = 0x808080;
constexpr Colour kAnswerSurfaceColour = 0xD4D4C8;
constexpr Colour kCrossOutInk = 0x0000FF;   // red
constexpr Colour kHighlightInk = 0x006400;  // green
constexpr Colour kCaretInk = 0xFFFFFF;
constexpr Colour kOverwriteCaret = 0x808080;
constexpr Colour kInsertCaret = 0x0000FF;
constexpr Colour kOtherModeCaret = 0x000000;

// --- Faces and sizes ------------------------------------------------------------

constexpr const char* kLabelFace = "Times New Roman";  // row labels, help panel, controls
constexpr const char* kFieldFace = "Lucida console";   // the input fields
constexpr const char* kInfoFace = "OCR-B 10 BT";       // the information panels
constexpr int kLabelSize = 16;
constexpr int kHelpSize = 10;
constexpr int kDialogFontSize = 16;

// --- Texts ----------------------------------------------------------------------

constexpr const char* kCaption = INDOVINA_NAME " " INDOVINA_VERSION;
constexpr const char* kMessageBoxCaption = INDOVINA_NAME;
constexpr const char* kAuthorMenu = "Autore";
constexpr const char* kAuthorMenuEntry = "&autore";
constexpr const char* kElapsedCaption = "secondi";

// The author box: seven lines joined by CR LF.
constexpr const char* kAuthorText =
    "Squadra di Indovina il numero\r\nVia dell'Esempio 1\r\n00100 Paese di Prova\r\n\r\n"
    "email autore@example.com\r\nemail giochi@example.org\r\nsito www.example.net";

// The images of the marks, "Q" a square, "C" a circle.
constexpr const char* kSquareImage = "q.bmp";
constexpr const char* kCircleImage = "c.bmp";
