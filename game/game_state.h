// The one record of the game, the random source and the drawing of the secret.
// Portable: no platform headers, and no clock is read here: the shell passes the
// local time in.
#pragma once

#include <cstdint>
#include <string>

#include "base/board_constants.h"
#include "base/one_based.h"

constexpr int kLineCount = 100;

using TextLines = OneBased<std::string, kLineCount>;

// How one row's input field looks and behaves: seven signed 32-bit fields.
struct FieldStyle {
    std::int32_t lines = 0;
    std::int32_t columns = 0;
    std::int32_t insertMode = 0;
    std::int32_t fontSize = 0;
    std::int32_t textColour = 0;
    std::int32_t backColour = 0;
    std::int32_t submitOnEnter = 0;
};

struct GameState {
    std::string secret;
    std::int32_t currentAttempt = 0;
    std::int32_t gameOver = 0;
    std::string untriedDigits;
    OneBased<TextLines, kRowCount> rowText;
    OneBased<std::string, kRowCount> rowHelpText;
    OneBased<std::string, kRowCount> rowLabel;
    OneBased<std::string, kRowCount> rowNote;
    OneBased<std::string, kRowCount> rowAllowedChars;
    OneBased<FieldStyle, kRowCount> fieldStyle;
    Colour inkColour = 0;
    Colour fieldColour = 0;
    Colour labelInkColour = 0;
    Colour panelColour = 0;
};

// The local date and time as the platform's local clock gives it.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Seconds since local midnight with millisecond resolution.
double SecondsSinceMidnight(const LocalTime& t);

// "MM-DD-YYYY" with leading zeros.
std::string DateText(const LocalTime& t);

// The random source: one 32-bit state word, kept by the game's session.
void SeedRandom(std::uint32_t& state, double seconds);
std::int32_t RandomInt(std::uint32_t& state, std::int32_t boundA, std::int32_t boundB);
std::string DrawSecret(std::uint32_t& state, std::int32_t low, std::int32_t high, std::int32_t count);

// A new game, the random source seeded from the local time of day given and the
// secret drawn from it.
GameState InitGame(std::uint32_t& randomState, const LocalTime& now);

constexpr const char* kHelpSentence1 =
    "Scrivi il numero senza ripetere le cifre e senza iniziare con 0, poi batti Enter.";
constexpr const char* kHelpSentence2 = "Il quadrato significa cifra giusta al posto giusto.";
constexpr const char* kHelpSentence3 = "Il cerchio significa cifra giusta al posto sbagliato.";
