// Whole games played through the system's input path, with a secret the test sets.
#include <gtest/gtest.h>

#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"

namespace {

void SecretIs1234() { gameState.secret = "1234"; }

// The inks of assets/q.bmp and assets/c.bmp.
constexpr COLORREF kSquareInk = RGB(40, 110, 40);
constexpr COLORREF kCircleInk = RGB(40, 40, 160);

// Whether cell k of a row's answer box, or a stretch of a row's field, shows an ink.
bool HasInk(int id, int fromX, int toX, COLORREF ink)
{
    bool found = false;
    RunOnGameThread([&] {
        for (int y = 0; y < 30 && !found; y += 2) {
            for (int x = fromX; x < toX && !found; ++x) found = SurfacePixel(id, x, y) == ink;
        }
    });
    return found;
}
int CellWidth(int id)
{
    RECT r{};
    GetClientRect(GetDlgItem(mainWindow, id), &r);
    return r.right / 4;
}
bool MarkInCell(int row, int cell, COLORREF ink)
{
    const int w = CellWidth(kAnswerSurfaceBase + row);
    return HasInk(kAnswerSurfaceBase + row, cell * w, (cell + 1) * w, ink);
}

void Submit(const std::string& guess)
{
    TypeText(guess);
    PressKey(VK_RETURN);
}

int CurrentAttempt()
{
    int row = 0;
    RunOnGameThread([&] { row = gameState.currentAttempt; });
    return row;
}
std::string Untried()
{
    std::string digits;
    RunOnGameThread([&] { digits = gameState.untriedDigits; });
    return digits;
}

}  // namespace

TEST(Play, WinInRowFiveDrawsTheMarksShowsTheBoxAndEnds)
{
    std::string boxText;
    bool squaresDrawn = false;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (const char* guess : {"5678", "9012", "1243", "4321"}) Submit(guess);
        EXPECT_TRUE(MarkInCell(3, 0, kSquareInk) && MarkInCell(3, 2, kCircleInk));
        EXPECT_FALSE(MarkInCell(1, 0, kSquareInk));
        Submit("1234");
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        boxText = MessageBoxText(box);
        squaresDrawn = MarkInCell(5, 0, kSquareInk) && MarkInCell(5, 3, kSquareInk);
        CloseMessageBox(box);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxText, "Bravo. Hai indovinato !");
    EXPECT_TRUE(squaresDrawn);
    // The rest of the turn still ran before the window closed.
    EXPECT_EQ(gameState.currentAttempt, 6);
    EXPECT_FALSE(IsWindow(mainWindow));
}

// One lost game goes through the ways a row is submitted or not.
TEST(Play, LostGameSubmitsByEnterDownAndKeypadTwoAndEndsWithTheSecret)
{
    std::string boxText;
    int boxesAfterEnter = -1;
    const int result = PlayInProcess(SecretIs1234, [&] {
        Submit("567");  // three digits: nothing happens
        EXPECT_EQ(CurrentAttempt(), 1);
        EXPECT_EQ(Untried(), "0123456789");
        // Enter came back as the default command too, which put the caret on column 1.
        PressKey(VK_END, true);
        TypeText("8");
        HoldKey(VK_RETURN, 5);  // held down: the repeats find row 2 empty
        EXPECT_EQ(CurrentAttempt(), 2);
        TypeText("1567");
        PressKey(VK_DOWN, true);
        EXPECT_EQ(Untried(), "0-234----9");
        TypeText("9056");
        PressKey(VK_NUMPAD2);
        EXPECT_EQ(CurrentAttempt(), 4);
        TypeText("9057");
        KeyDown(VK_CONTROL);  // with the left Ctrl both are editing keys
        PressKey(VK_DOWN, true);
        PressKey(VK_NUMPAD2);
        KeyUp(VK_CONTROL);
        EXPECT_EQ(CurrentAttempt(), 4);
        PressKey(VK_RETURN);  // row 4 goes in as typed
        for (int row = 5; row <= 13; ++row) Submit("5678");
        ASSERT_EQ(CurrentAttempt(), 14);
        ASSERT_EQ(OpenMessageBoxCount(), 0);
        Submit("4321");
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        boxText = MessageBoxText(box);
        // The Enter that closes the box must not score the row again.
        SetForegroundWindow(box);
        PressKey(VK_RETURN);
        Sleep(300);
        boxesAfterEnter = OpenMessageBoxCount();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxText, "Fine. Il numero era 1234 !");
    EXPECT_EQ(boxesAfterEnter, 0);
}

TEST(Play, RightGuessInRowFourteenShowsBothBoxesAndStillEnds)
{
    std::vector<std::string> texts;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (int row = 1; row <= 13; ++row) Submit("5678");
        Submit("1234");
        while (texts.size() < 2) {
            HWND box = WaitForMessageBox(5000);
            if (box == nullptr) break;
            texts.push_back(MessageBoxText(box));
            CloseMessageBox(box);
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"Bravo. Hai indovinato !", "Fine. Il numero era 1234 !"}));
}

TEST(Play, RowClicksTogglesAndTheAuthorBox)
{
    std::string authorText;
    PlayInProcess(+[] { gameState.secret = "9870"; }, [&] {
        Submit("1234");
        Submit("1567");
        EXPECT_EQ(Untried(), "0-------89");

        ClickControl(kRowFieldBase + 7, 5, 5);
        EXPECT_EQ(CurrentAttempt(), 7);
        TypeText("95");
        EXPECT_EQ(SurfacePixel(kRowFieldBase + 3, 2, 2), 0xD7D7D7u);  // no caret left behind

        // A toggle marks its digit in every field that holds it, at that digit's place.
        const int cell = CellWidth(kRowFieldBase + 1);
        ClickControl(kCrossOutToggleBase + 5, 10, 10);
        EXPECT_TRUE(HasInk(kRowFieldBase + 2, cell, 2 * cell, 0x0000FF));  // "1567"
        EXPECT_TRUE(HasInk(kRowFieldBase + 7, cell, 2 * cell, 0x0000FF));  // "95"
        EXPECT_FALSE(HasInk(kRowFieldBase + 1, 0, 4 * cell, 0x0000FF));
        ClickControl(kHighlightToggleBase + 5, 10, 10);
        EXPECT_TRUE(HasInk(kRowFieldBase + 7, cell, 2 * cell, 0x006400));
        EXPECT_EQ(CurrentAttempt(), 7);

        // Keys typed while the author box is open still reach the game.
        PostMessageA(mainWindow, WM_COMMAND, kAuthorCommand, 0);
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        authorText = MessageBoxText(box);
        TypeText("3");  // the toggles' redraw put the caret back on column 1
        std::string line;
        RunOnGameThread([&] { line = gameState.rowText[7][1]; });
        EXPECT_EQ(line, "35");
        CloseMessageBox(box);
    });
    int breaks = 0;
    for (std::size_t i = 0; i + 1 < authorText.size(); ++i) breaks += authorText.compare(i, 2, "\r\n") == 0;
    EXPECT_EQ(breaks, 6);
    EXPECT_NE(authorText.find("\r\n\r\nemail "), std::string::npos);
    EXPECT_NE(authorText.find("\r\nsito "), std::string::npos);
}
