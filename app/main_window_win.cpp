#include "app/main_window_win.h"

#include "app/window_events_win.h"
#include "base/dialog_win.h"

namespace {

int FloorHalf(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

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

void MakeControl(Shell& shell, const BoardControl& control, HFONT font)
{
    const ControlPlace& p = control.place;
    if (control.kind == ControlKind::Toggle) {
        CreateControl(shell.window, "BUTTON", control.caption, BS_AUTOCHECKBOX | BS_PUSHLIKE, p.id, p.x, p.y, p.width,
                      p.height, font);
        return;
    }
    const DWORD style = control.kind == ControlKind::RowField ? SS_NOTIFY : 0;
    shell.surfaces.emplace(p.id, CreateSurface(shell.window, p, style, shell.fonts));
}

}  // namespace

Shell* ShellOf(HWND window) { return reinterpret_cast<Shell*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void MarkStartup(const Shell& shell, const char* phase)
{
    if (shell.startupMark != nullptr) shell.startupMark(phase);
}

FrontEnd WindowsFrontEnd(Shell& shell, const Clocks& clocks)
{
    FrontEnd frontEnd;
    frontEnd.draw = [&shell](int id, const Picture& picture) {
        if (const auto found = shell.surfaces.find(id); found != shell.surfaces.end()) {
            PlayPicture(found->second, picture);
        }
    };
    frontEnd.measure = MeasureWith(shell.fonts);
    frontEnd.showBox = [&shell](const std::string& text, std::function<void()> closed) {
        shell.boxText = text;
        shell.boxClosed = std::move(closed);
        PostMessageA(shell.window, kShowBoxMessage, 0, 0);
    };
    frontEnd.closeWindow = [&shell] { EndDialogWindow(shell.window); };
    frontEnd.clocks = clocks;
    return frontEnd;
}

void BuildMainWindow(Shell& shell, HINSTANCE instance)
{
    shell.window = CreateHiddenDialog(instance, kCaption, WS_CAPTION | WS_SYSMENU, MainWindowEvents);
    SetWindowLongPtrA(shell.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shell));
    PlaceMainWindow(shell.window);
    MarkStartup(shell, "the window");
    const FontEntry* dialogFont = BookFont(shell.fonts, {kLabelFace, kDialogFontSize, 0});
    for (const BoardControl& control : shell.session.controls) {
        MakeControl(shell, control, dialogFont != nullptr ? dialogFont->font.get() : nullptr);
        // The last toggle, 710, is the default command: what Enter produces. Set
        // once: each change of the default costs the dialog more than making a toggle.
        if (control.place.id == kDefaultCommand) {
            SendMessageA(shell.window, DM_SETDEFID, static_cast<WPARAM>(kDefaultCommand), 0);
        }
    }
    MarkStartup(shell, "the board's controls");
    // Attached after the window has its size: the menu bar takes its height out of
    // the client area instead of enlarging the window.
    HMENU menuBar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(menuBar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kAuthorMenu);
    AppendMenuA(popup, MF_STRING, kAuthorCommand, kAuthorMenuEntry);
    SetMenu(shell.window, menuBar);
    MarkStartup(shell, "the menu");
}
