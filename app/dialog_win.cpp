#include "app/dialog_win.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "render/surface_win.h"

namespace {

DialogEvents attachedEvents = nullptr;
HWND modalDialog = nullptr;
bool modalDialogAlive = false;

// The user slots of every control of the program, by window.
std::unordered_map<HWND, std::array<std::int32_t, 8>> controlSlots;

INT_PTR CALLBACK DialogLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Surfaces paint themselves from their bitmaps, with or without a handler.
    if (message == WM_DRAWITEM) PaintSurfaceItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));

    if (attachedEvents != nullptr && window == modalDialog) attachedEvents(window, message, wParam, lParam);

    if (message == WM_NCDESTROY && window == modalDialog) {
        attachedEvents = nullptr;
        modalDialogAlive = false;
        controlSlots.clear();
    }
    return message == WM_DRAWITEM ? TRUE : FALSE;
}

void AppendWide(std::vector<WORD>& out, const std::string& text)
{
    for (const char c : text) out.push_back(static_cast<unsigned char>(c));
    out.push_back(0);
}

}  // namespace

HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style)
{
    // DLGTEMPLATE, then the menu, class and title arrays. Sizes stay 0 here: the
    // window is placed in pixels afterwards, never in dialog units.
    std::vector<WORD> buffer(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
    header->style = style;
    header->dwExtendedStyle = 0;
    header->cdit = 0;
    buffer.push_back(0);  // no menu
    buffer.push_back(0);  // the standard dialog class
    AppendWide(buffer, caption);
    buffer.push_back(0);  // keep the end aligned
    modalDialog = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(buffer.data()), nullptr,
                                             DialogLayerProc, 0);
    modalDialogAlive = modalDialog != nullptr;
    return modalDialog;
}

HWND CreateControl(HWND dialog, const char* windowClass, const std::string& caption, DWORD style, int id,
                   int x, int y, int width, int height, HFONT font)
{
    HWND control = CreateWindowExA(0, windowClass, caption.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr) {
        RegisterControlSlots(control);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

void RegisterControlSlots(HWND control) { controlSlots[control] = {}; }

std::int32_t ControlSlot(HWND control, int slot)
{
    const auto found = controlSlots.find(control);
    if (found == controlSlots.end() || slot < 1 || slot > 8) return 0;
    return found->second[static_cast<std::size_t>(slot - 1)];
}

void SetControlSlot(HWND control, int slot, std::int32_t value)
{
    const auto found = controlSlots.find(control);
    if (found == controlSlots.end() || slot < 1 || slot > 8) return;
    found->second[static_cast<std::size_t>(slot - 1)] = value;
}

void ShowModal(HWND dialog, DialogEvents handler)
{
    attachedEvents = handler;
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

    // Each message is taken off the queue as it is read, so the keyboard hook sees
    // every key event once; the dialog's keyboard handling turns Escape into the
    // cancel command and Enter into the default command.
    MSG message{};
    while (modalDialogAlive) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (!modalDialogAlive || !IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            WaitMessage();
        }
    }
}

bool IsDialogAlive(HWND dialog) { return dialog != nullptr && dialog == modalDialog && modalDialogAlive; }

void EndDialogWindow(HWND dialog)
{
    if (IsWindow(dialog)) DestroyWindow(dialog);
}

void ShowMessageBox(const std::string& text) { MessageBoxA(nullptr, text.c_str(), kMessageBoxCaption, MB_OK); }
