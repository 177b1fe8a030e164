#include "app/main_window_win.h"

#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "game/game_state.h"
#include "render/answer_marks_win.h"
#include "render/panels_win.h"
#include "render/surface_win.h"

HWND mainWindow = nullptr;
HMENU menuBar = nullptr;

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 610;
constexpr DWORD kMainStyle = WS_CAPTION | WS_SYSMENU;
constexpr int kFirstRowY = 75;
constexpr int kToggleSize = 20;

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
// The dialog font, given to every control; it outlives them all.
std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter> dialogFont;

int FloorHalf(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

HFONT CreateDialogFont()
{
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTA font{};
    font.lfHeight = -(pixelsPerInch * 16 / 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "Times New Roman", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// Client 460 x 610 plus the platform's frame and caption, centred on the work area.
void PlaceMainWindow(HWND window)
{
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int left = FloorHalf(work.left + work.right - width);
    const int top = FloorHalf(work.top + work.bottom - height);
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateBoardSurface(int id, int x, int y, int width, int height, DWORD extraStyle)
{
    HWND surface = CreateSurface(mainWindow, id, x, y, width, height, extraStyle);
    if (surface != nullptr) {
        RegisterControlSlots(surface);
        SendMessageA(surface, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont.get()), FALSE);
    }
    return surface;
}

void CreateToggles(int firstId, int left)
{
    for (int digit = 0; digit <= 9; ++digit) {
        const int id = firstId + digit;
        CreateControl(mainWindow, "BUTTON", std::string(1, static_cast<char>('0' + digit)),
                      BS_AUTOCHECKBOX | BS_PUSHLIKE, id, left + 22 * digit, 46, kToggleSize, kToggleSize,
                      dialogFont.get());
        // Each toggle becomes the default command as it is made, so the last one,
        // 710, is what Enter produces.
        SendMessageA(mainWindow, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    }
}

// The rows' geometry follows the field font's metrics, measured on a surface of
// its own before any row exists.
void CreateRows(int outerHeight)
{
    int y = kFirstRowY;
    int measureHeight = outerHeight;
    for (int row = 1; row <= kRowCount; ++row) {
        int cellHeight = 0;
        int fieldWidth = 0;
        {
            MemorySurfaceScope measure(120, measureHeight);
            cellHeight = RowCellHeight(row);
            fieldWidth = RowFieldWidth(row);
        }
        const int lines = gameState.fieldStyle[row].lines;
        const int shownLines = lines < 0 ? 1 : lines;
        HWND field = CreateBoardSurface(kRowFieldBase + row, 129, y, fieldWidth, shownLines * cellHeight, SS_NOTIFY);
        SetControlSlot(field, kRowNumberSlot, row);
        CreateBoardSurface(kRowLabelBase + row, 5, y, 120, cellHeight, 0);
        CreateBoardSurface(kAnswerSurfaceBase + row, 133 + fieldWidth, y, 4 * cellHeight, cellHeight, 0);
        y += shownLines * cellHeight + 1;
        measureHeight = cellHeight;
    }
    CreateBoardSurface(kHelpPanel, 5, y, 820, 65, 0);
}

void DrawFirstPicture()
{
    DrawHelpPanel(gameState.currentAttempt);
    for (int row = 1; row <= kRowCount; ++row) {
        DrawTextPanel(mainWindow, kRowLabelBase + row, gameState.rowLabel[row], "Times New Roman", 16,
                      gameState.labelInkColour, gameState.panelColour, 0, gameState.rowNote[row]);
        DrawAnswerMarks(mainWindow, kAnswerSurfaceBase + row, "");
    }
    DrawInfoPanel(mainWindow, kDigitPanel, DateText(CurrentLocalTime()), gameState.untriedDigits);
}

}  // namespace

int RowCellHeight(int row)
{
    SetFont("Lucida console", gameState.fieldStyle[row].fontSize, 0);
    return FontCellSize().lineHeight;
}

int RowFieldWidth(int row)
{
    SetFont("Lucida console", gameState.fieldStyle[row].fontSize, 0);
    return gameState.fieldStyle[row].columns * FontCellSize().charWidth;
}

void BuildMenu()
{
    menuBar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(menuBar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Autore");
    AppendMenuA(popup, MF_STRING, kAuthorCommand, "&autore");
}

HWND BuildMainWindow(HINSTANCE instance)
{
    dialogFont.reset(CreateDialogFont());
    mainWindow = CreateHiddenDialog(instance, std::string("Indovina il numero ") + "0.01", kMainStyle);
    PlaceMainWindow(mainWindow);
    RECT outer{};
    GetWindowRect(mainWindow, &outer);

    CreateBoardSurface(kDigitPanel, 5, 0, 180, 40, 0);
    CreateBoardSurface(kClockPanel, 186, 0, 130, 40, 0);
    CreateBoardSurface(kElapsedPanel, 317, 0, 136, 40, 0);
    CreateToggles(kCrossOutToggleBase, 5);
    CreateToggles(kHighlightToggleBase, 235);
    CreateRows(outer.bottom - outer.top);

    // Attached after the window has its size: the menu bar takes its height out
    // of the client area instead of enlarging the window.
    BuildMenu();
    SetMenu(mainWindow, menuBar);

    DrawFirstPicture();
    return mainWindow;
}

void ReleaseMainWindowFont() { dialogFont.reset(); }
