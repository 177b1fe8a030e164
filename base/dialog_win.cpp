#include "base/dialog_win.h"

#include <array>
#include <unordered_map>
#include <vector>

#include "base/board_constants.h"
#include "base/runtime_error.h"

namespace {

// What the dialog layer keeps for one dialog, on the window itself.
struct DialogRecord {
    DrawItemHandler paintItem = nullptr;
    DialogEvents events = nullptr;
    // The user slots of the dialog's controls, by window.
    std::unordered_map<HWND, std::array<std::int32_t, 8>> controlSlots;
};

DialogRecord* RecordOf(HWND dialog)
{
    return dialog != nullptr ? reinterpret_cast<DialogRecord*>(GetWindowLongPtrA(dialog, DWLP_USER)) : nullptr;
}

INT_PTR CALLBACK DialogLayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG && lParam != 0 && RecordOf(window) == nullptr) {
        // The creation call hands the record over; ShowModal's own WM_INITDIALOG
        // comes later with lParam 0.
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return FALSE;
    }
    DialogRecord* record = RecordOf(window);
    if (record == nullptr) return FALSE;
    bool painted = false;
    RunGuarded(window, "DialogProc", [&] {
        if (message == WM_DRAWITEM && record->paintItem != nullptr) {
            painted = record->paintItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        if (record->events != nullptr) record->events(window, message, wParam, lParam);
    });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        delete record;
    }
    return painted ? TRUE : FALSE;
}

void AppendWide(std::vector<WORD>& out, const std::string& text)
{
    for (const char c : text) out.push_back(static_cast<unsigned char>(c));
    out.push_back(0);
}

std::array<std::int32_t, 8>* SlotsOf(HWND control, int slot)
{
    DialogRecord* record = RecordOf(GetParent(control));
    if (record == nullptr || slot < 1 || slot > 8) return nullptr;
    const auto found = record->controlSlots.find(control);
    return found == record->controlSlots.end() ? nullptr : &found->second;
}

}  // namespace

HWND CreateHiddenDialog(HINSTANCE instance, const std::string& caption, DWORD style, DrawItemHandler paintItem)
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
    auto* record = new DialogRecord{paintItem, nullptr, {}};
    HWND dialog = CreateDialogIndirectParamA(instance, reinterpret_cast<DLGTEMPLATE*>(buffer.data()), nullptr,
                                             DialogLayerProc, reinterpret_cast<LPARAM>(record));
    if (dialog == nullptr) delete record;
    return dialog;
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

void RegisterControlSlots(HWND control)
{
    if (DialogRecord* record = RecordOf(GetParent(control))) record->controlSlots[control] = {};
}

std::int32_t ControlSlot(HWND control, int slot)
{
    const auto* slots = SlotsOf(control, slot);
    return slots != nullptr ? (*slots)[static_cast<std::size_t>(slot - 1)] : 0;
}

void SetControlSlot(HWND control, int slot, std::int32_t value)
{
    if (auto* slots = SlotsOf(control, slot)) (*slots)[static_cast<std::size_t>(slot - 1)] = value;
}

void ShowModal(HWND dialog, DialogEvents handler)
{
    DialogRecord* record = RecordOf(dialog);
    if (record == nullptr) return;
    record->events = handler;
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
    while (IsDialogAlive(dialog)) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (!IsDialogAlive(dialog) || !IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            WaitMessage();
        }
    }
}

bool IsDialogAlive(HWND dialog) { return IsWindow(dialog) && RecordOf(dialog) != nullptr; }

void EndDialogWindow(HWND dialog)
{
    if (IsWindow(dialog)) DestroyWindow(dialog);
}

void ShowMessageBox(const std::string& text) { MessageBoxA(nullptr, text.c_str(), kMessageBoxCaption, MB_OK); }

void ReportEscapedException(HWND window, const char* where) noexcept
{
    try {
        ShowMessageBox(CurrentExceptionText(where));
    } catch (...) {
        // Not even the box could be made: ending the window is all that is left.
    }
    // A control's callback ends its dialog, not itself.
    HWND top = GetAncestor(window, GA_ROOT);
    EndDialogWindow(top != nullptr ? top : window);
}
