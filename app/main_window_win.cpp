#include "app/main_window_win.h"

#include <string>

#include "app/window_flow.h"
#include "base/dialog_win.h"
#include "game/game_state.h"
#include "input/shell_win.h"
#include "render/board_layout.h"

namespace {

constexpr DWORD kMainStyle = WS_CAPTION | WS_SYSMENU;

int FloorHalf(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

HFONT CreateDialogFont()
{
    WindowDc screen(nullptr);
    LOGFONTA font{};
    font.lfHeight = -(GetDeviceCaps(screen.dc, LOGPIXELSY) * kDialogFontSize / 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, kLabelFace, LF_FACESIZE);
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

HWND CreateBoardSurface(const ControlPlace& place, DWORD extraStyle)
{
    HWND surface = CreateSurface(shell.mainWindow, place.id, place.x, place.y, place.width, place.height, extraStyle,
                                 *shell.fonts);
    shell.controls[place.id] = surface;
    if (surface != nullptr) {
        RegisterControlSlots(surface);
        SendMessageA(surface, WM_SETFONT, reinterpret_cast<WPARAM>(shell.dialogFont.get()), FALSE);
    }
    return surface;
}

void CreateToggles(int base)
{
    for (int digit = 0; digit <= 9; ++digit) {
        const ControlPlace place = TogglePlace(base, digit);
        shell.controls[place.id] =
            CreateControl(shell.mainWindow, "BUTTON", std::string(1, static_cast<char>('0' + digit)),
                          BS_AUTOCHECKBOX | BS_PUSHLIKE, place.id, place.x, place.y, place.width, place.height,
                          shell.dialogFont.get());
    }
}

void CreateRows(const BoardRows& board)
{
    for (int row = 1; row <= kRowCount; ++row) {
        const RowPlaces& places = board.rows[row];
        HWND field = CreateBoardSurface(places.field, SS_NOTIFY);
        SetControlSlot(field, kRowNumberSlot, row);
        CreateBoardSurface(places.label, 0);
        CreateBoardSurface(places.answer, 0);
    }
    CreateBoardSurface(board.help, 0);
}

}  // namespace

HMENU BuildMenu()
{
    HMENU menuBar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(menuBar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kAuthorMenu);
    AppendMenuA(popup, MF_STRING, kAuthorCommand, kAuthorMenuEntry);
    return menuBar;
}

HWND BuildMainWindow(HINSTANCE instance)
{
    shell.dialogFont.reset(CreateDialogFont());
    shell.fonts = NewFontBook();
    shell.mainWindow = CreateHiddenDialog(instance, kCaption, kMainStyle, PaintSurfaceItem);
    PlaceMainWindow(shell.mainWindow);
    MarkStartup("the window and its font");

    for (const ControlPlace& place : kInfoPanelPlaces) CreateBoardSurface(place, 0);
    MarkStartup("the three information panels");
    CreateToggles(kCrossOutToggleBase);
    CreateToggles(kHighlightToggleBase);
    // The last toggle made, 710, is the default command: what Enter produces. Set
    // once: each change of the default costs the dialog more than making a toggle.
    SendMessageA(shell.mainWindow, DM_SETDEFID, static_cast<WPARAM>(kDefaultCommand), 0);
    MarkStartup("the twenty toggles");
    const BoardRows rows = LayOutRows(gameState, shell.board.platform.measure);
    MarkStartup("the field face measured for the rows");
    CreateRows(rows);
    MarkStartup("the rows' 42 surfaces and the help panel");

    // Attached after the window has its size: the menu bar takes its height out
    // of the client area instead of enlarging the window.
    shell.menuBar = BuildMenu();
    SetMenu(shell.mainWindow, shell.menuBar);
    MarkStartup("the menu");

    DrawFirstPicture(shell.board);
    MarkStartup("the first picture: labels, help, answer boxes, digit panel");
    return shell.mainWindow;
}
