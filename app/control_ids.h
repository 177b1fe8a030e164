// The ids of the main window's controls and commands.
#pragma once

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
constexpr int kClockTimer = 20;
constexpr unsigned kClockPeriodMs = 100;

// The user slot of a row field that holds its row number.
constexpr int kRowNumberSlot = 8;
