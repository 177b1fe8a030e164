#include "base/dialog_win.h"

#include <vector>

#include "base/board_constants.h"
#include "base/runtime_error.h"

namespace {

INT_PTR CALLBACK DialogLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG && lParam != 0) {
        // The creation call hands the handler over; ShowModal's own WM_INITDIALOG
        // comes later with lParam 0.
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return FALSE;
    }
    const auto events = reinterpret_cast<DialogEvents>(GetWindowLongPtrA(window, DWLP_USER));
    if (events == nullptr) return FALSE;
    // An exception must not cross the system's frames: one that escapes shows the
    // run-time error box and ends the window.
    try {
        return events(window, message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        try {
            ShowMessageBox(CurrentExceptionText("DialogProc"));
        } catch (...) {
            // Not even the box could be made: ending the window is all that is left.
        }
        EndDialogWindow(window);
        return FALSE;
    }
}

void AppendWide(std::vector<WORD>& out, const std::string& text)
{
    for (const char c : text) out.push_back(static_cast<unsigned char>(c));
    out.push_back(0);
}

}  // namespace

HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style, DialogEvents events)
{
    // DLGTEMPLATE, then the menu, class and title arrays. Sizes stay 0 here: the
    // window is placed in pixels afterwards, never in dialog units.
    std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    reinterpret_cast<DLGTEMPLATE*>(buffer.data())->style = style;
    buffer.push_back(0);  // no menu
    buffer.push_back(0);  // the standard dialog class
    AppendWide(buffer, caption);
    buffer.push_back(0);  // keep the end aligned
    return CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(buffer.data()), nullptr,
                                      DialogLayerProc, reinterpret_cast<LPARAM>(events));
}

HWND CreateControl(HWND dialog, const char* windowClass, const std::string& caption, DWORD style, int id,
                   int x, int y, int width, int height, HFONT font)
{
    HWND control = CreateWindowExA(0, windowClass, caption.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void ShowModal(HWND dialog)
{
    SendMessageA(dialog, WM_INITDIALOG, 0, 0);
    RECT client{};
    GetClientRect(dialog, &client);
    SendMessageA(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    // Shown by position, not by ShowWindow: the first ShowWindow of a process may be
    // replaced by the show state its starter asked for, and the game ignores that.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(dialog);
    // The first picture is ready in the surfaces: show it whole, at once.
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message{};
    while (IsWindow(dialog) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void EndDialogWindow(HWND dialog)
{
    if (IsWindow(dialog)) DestroyWindow(dialog);
}

void ShowMessageBox(const std::string& text) { MessageBoxA(nullptr, text.c_str(), kMessageBoxCaption, MB_OK); }
