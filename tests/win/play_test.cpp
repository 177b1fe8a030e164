// Whole games played through the system's input path, with a secret the test sets.
#include <gtest/gtest.h>

#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"

namespace {

void SecretIs1234() { gameState.secret = "1234"; }

// The colours assets/q.bmp and assets/c.bmp draw their marks in.
constexpr COLORREF kSquareInk = RGB(40, 110, 40);
constexpr COLORREF kCircleInk = RGB(40, 40, 160);
constexpr COLORREF kAnswerBack = 0xD4D4C8;

int CellWidth()
{
    RECT r{};
    GetClientRect(GetDlgItem(mainWindow, kAnswerSurfaceBase + 1), &r);
    return r.right / 4;
}

// Whether cell k of a row's answer box shows the ink of a mark.
bool CellHasInk(int row, int cell, COLORREF ink)
{
    const int w = CellWidth();
    bool found = false;
    for (int y = 0; y < w && !found; y += 2) {
        for (int x = cell * w; x < (cell + 1) * w && !found; x += 2) {
            found = SurfacePixel(kAnswerSurfaceBase + row, x, y) == ink;
        }
    }
    return found;
}

void Submit(const std::string& guess)
{
    TypeText(guess);
    PressKey(VK_RETURN);
}

template <class T>
T OnGameThread(T (*read)())
{
    T value{};
    RunOnGameThread([&] { value = read(); });
    return value;
}

int CurrentAttempt() { return OnGameThread(+[] { return gameState.currentAttempt; }); }
std::string Untried() { return OnGameThread(+[] { return gameState.untriedDigits; }); }

}  // namespace

TEST(Play, WinInRowFiveDrawsTheMarksShowsTheBoxAndEnds)
{
    std::string boxText;
    bool squaresDrawn = false;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (const char* guess : {"5678", "9012", "1243", "4321"}) Submit(guess);
        ASSERT_EQ(CurrentAttempt(), 5);
        EXPECT_TRUE(CellHasInk(3, 0, kSquareInk));
        EXPECT_TRUE(CellHasInk(3, 2, kCircleInk));
        EXPECT_FALSE(CellHasInk(1, 0, kSquareInk));
        Submit("1234");
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        boxText = MessageBoxText(box);
        squaresDrawn = CellHasInk(5, 0, kSquareInk) && CellHasInk(5, 3, kSquareInk);
        CloseMessageBox(box);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxText, "Bravo. Hai indovinato !");
    EXPECT_TRUE(squaresDrawn);
    EXPECT_EQ(gameState.gameOver, 1);
    // The rest of the turn still ran before the window closed.
    EXPECT_EQ(gameState.currentAttempt, 6);
    EXPECT_EQ(mainWindow != nullptr && IsWindow(mainWindow), false);
}

TEST(Play, FourteenWrongRowsEndWithTheSecretInTheBox)
{
    std::string boxText;
    int boxes = 0;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (int row = 1; row <= 13; ++row) Submit(row % 2 ? "5678" : "9076");
        ASSERT_EQ(CurrentAttempt(), 14);
        ASSERT_EQ(OpenMessageBoxCount(), 0);
        Submit("4321");
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        boxText = MessageBoxText(box);
        boxes = OpenMessageBoxCount();
        CloseMessageBox(box);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxText, "Fine. Il numero era 1234 !");
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(gameState.currentAttempt, 14);
}

TEST(Play, RightGuessInRowFourteenShowsBothBoxesAndStillEnds)
{
    std::vector<std::string> texts;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (int row = 1; row <= 13; ++row) Submit("5678");
        Submit("1234");
        for (int i = 0; i < 2; ++i) {
            HWND box = WaitForMessageBox(5000);
            if (box == nullptr) break;
            texts.push_back(MessageBoxText(box));
            CloseMessageBox(box);
            Sleep(100);
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts, (std::vector<std::string>{"Bravo. Hai indovinato !", "Fine. Il numero era 1234 !"}));
}

TEST(Play, EnterWithThreeDigitsDoesNothing)
{
    PlayInProcess(SecretIs1234, [&] {
        Submit("567");
        EXPECT_EQ(CurrentAttempt(), 1);
        EXPECT_EQ(Untried(), "0123456789");
        EXPECT_EQ(SurfacePixel(kAnswerSurfaceBase + 1, 2, 2), kAnswerBack);
        EXPECT_EQ(OpenMessageBoxCount(), 0);
        // The row keeps its text. Enter also came back as the default command, which
        // redrew every field with its caret on column 1; End goes after the digits.
        PressKey(VK_END, true);
        Submit("8");
        EXPECT_EQ(CurrentAttempt(), 2);
        EXPECT_EQ(Untried(), "01234----9");
    });
}

TEST(Play, DownAndKeypadTwoSubmitButNotWithLeftCtrl)
{
    PlayInProcess(SecretIs1234, [&] {
        TypeText("5678");
        PressKey(VK_DOWN, true);
        EXPECT_EQ(CurrentAttempt(), 2);
        TypeText("5679");
        PressKey(VK_NUMPAD2);
        EXPECT_EQ(CurrentAttempt(), 3);
        TypeText("5670");
        KeyDown(VK_CONTROL);
        PressKey(VK_DOWN, true);
        PressKey(VK_NUMPAD2);
        KeyUp(VK_CONTROL);
        EXPECT_EQ(CurrentAttempt(), 3);
        // 5678 and 5679 were scored, 5670 was not: its 0 is still untried.
        EXPECT_EQ(Untried(), "01234-----");
    });
}

TEST(Play, TriedDigitsAfter1234And1567)
{
    PlayInProcess(+[] { gameState.secret = "9870"; }, [&] {
        Submit("1234");
        Submit("1567");
        EXPECT_EQ(Untried(), "0-------89");
    });
}

TEST(Play, ClickOnRowSevenMakesItCurrent)
{
    PlayInProcess(SecretIs1234, [&] {
        ClickControl(kRowFieldBase + 7, 5, 5);
        EXPECT_EQ(CurrentAttempt(), 7);
        TypeText("98");
        std::string seven;
        std::string one;
        RunOnGameThread([&] {
            seven = gameState.rowText[7][1];
            one = gameState.rowText[1][1];
        });
        EXPECT_EQ(seven, "98");
        EXPECT_EQ(one, "");
        // The caret moved with the row.
        EXPECT_EQ(SurfacePixel(kRowFieldBase + 1, 2, 2), 0xD7D7D7u);
    });
}

TEST(Play, TogglesMarkADigitInEveryField)
{
    PlayInProcess(SecretIs1234, [&] {
        RunOnGameThread([] {
            gameState.rowText[2][1] = "5123";
            gameState.rowText[9][1] = "9875";
        });
        auto hasInk = [](int row, int fromX, int toX, COLORREF ink) {
            bool found = false;
            for (int y = 0; y < 30 && !found; ++y) {
                for (int x = fromX; x < toX && !found; ++x) found = SurfacePixel(kRowFieldBase + row, x, y) == ink;
            }
            return found;
        };
        RECT field{};
        GetClientRect(GetDlgItem(mainWindow, kRowFieldBase + 2), &field);
        const int cell = field.right / 4;
        ClickControl(kCrossOutToggleBase + 5, 10, 10);
        EXPECT_EQ(SendMessageA(GetDlgItem(mainWindow, kCrossOutToggleBase + 5), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(hasInk(2, 0, cell, 0x0000FF));
        EXPECT_TRUE(hasInk(9, 3 * cell, 4 * cell, 0x0000FF));
        EXPECT_FALSE(hasInk(9, 0, 3 * cell, 0x0000FF));
        ClickControl(kHighlightToggleBase + 5, 10, 10);
        EXPECT_TRUE(hasInk(2, 0, cell, 0x006400));
        EXPECT_TRUE(hasInk(9, 3 * cell, 4 * cell, 0x006400));
        EXPECT_FALSE(hasInk(2, cell, 4 * cell, 0x006400));
        EXPECT_EQ(CurrentAttempt(), 1);
    });
}

TEST(Play, EnterThatClosesTheLastBoxOpensNoOtherBox)
{
    int boxesAfterEnter = -1;
    const int result = PlayInProcess(SecretIs1234, [&] {
        for (int row = 1; row <= 14; ++row) Submit("5678");
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        SetForegroundWindow(box);
        PressKey(VK_RETURN);
        Sleep(300);
        boxesAfterEnter = OpenMessageBoxCount();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(boxesAfterEnter, 0);
}

TEST(Play, HeldDownEnterScoresOnce)
{
    PlayInProcess(SecretIs1234, [&] {
        TypeText("5678");
        HoldKey(VK_RETURN, 5);
        EXPECT_EQ(CurrentAttempt(), 2);
        EXPECT_EQ(SurfacePixel(kAnswerSurfaceBase + 2, 2, 2), kAnswerBack);
        EXPECT_EQ(Untried(), "01234----9");
    });
}

TEST(Play, AuthorBoxShowsSevenLinesAndKeysStillReachTheGame)
{
    std::string text;
    PlayInProcess(SecretIs1234, [&] {
        PostMessageA(mainWindow, WM_COMMAND, kAuthorCommand, 0);
        HWND box = WaitForMessageBox(5000);
        ASSERT_NE(box, nullptr);
        text = MessageBoxText(box);
        TypeText("56");
        std::string line;
        RunOnGameThread([&] { line = gameState.rowText[1][1]; });
        EXPECT_EQ(line, "56");
        CloseMessageBox(box);
    });
    int breaks = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) breaks += text.compare(i, 2, "\r\n") == 0;
    EXPECT_EQ(breaks, 6);
    EXPECT_NE(text.find("\r\n\r\nemail "), std::string::npos);
    EXPECT_NE(text.find("\r\nsito "), std::string::npos);
    EXPECT_NE(text.back(), '\n');
}
