#include "game/field_editor_win.h"

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/field_editor.h"
#include "render/accessible_text.h"
#include "render/surface_win.h"

namespace {

constexpr const char* kFieldFace = "Lucida console";

// A run-time error in the editor: the box, then the main window closes.
void EndWithEditorError(const std::string& message)
{
    ShowMessageBox(message);
    EndDialogWindow(mainWindow);
}

NoteToggles ReadNoteToggles(HWND dialog)
{
    NoteToggles toggles;
    for (int digit = 0; digit <= 9; ++digit) {
        toggles.crossedOut[static_cast<std::size_t>(digit)] =
            IsDlgButtonChecked(dialog, kCrossOutToggleBase + digit) == BST_CHECKED;
        toggles.highlighted[static_cast<std::size_t>(digit)] =
            IsDlgButtonChecked(dialog, kHighlightToggleBase + digit) == BST_CHECKED;
    }
    return toggles;
}

// Plays the editor's picture onto the current surface.
void PlayPicture(const std::vector<DrawOp>& picture)
{
    for (const DrawOp& op : picture) {
        switch (op.kind) {
        case DrawOpKind::Clear: ClearSurface(op.colour, 0); break;
        case DrawOpKind::SetFont: SetFont(op.text, op.size, 0); break;
        case DrawOpKind::SetInk: SetInkColour(op.colour); break;
        case DrawOpKind::SetBackTransparent: SetTextBackColour(kTransparent); break;
        case DrawOpKind::SetBackSolid: SetTextBackColour(op.colour); break;
        case DrawOpKind::MoveTo: MoveTo(op.x, op.y); break;
        case DrawOpKind::Print: PrintText(op.text); break;
        }
    }
}

}  // namespace

void EditField(std::int32_t& key, const std::string& character, TextLines& lines, HWND dialog, int controlId,
               std::int32_t fontSize)
{
    // After a run-time error has ended the window, the callers' loops may still be
    // running: there is no field left to draw, and no box to show about it.
    if (!IsDialogAlive(dialog)) return;
    HWND control = GetDlgItem(dialog, controlId);
    FieldSlots slots;
    slots.topLine = ControlSlot(control, kTopLineSlot);
    slots.leftColumn = ControlSlot(control, kLeftColumnSlot);
    slots.caretLine = ControlSlot(control, kCaretLineSlot);
    slots.caretColumn = ControlSlot(control, kCaretColumnSlot);
    slots.fieldRow = ControlSlot(control, kRowNumberSlot);

    SelectSurface(dialog, controlId);
    const auto size = SurfaceSize();
    const FontMeasure measure = [](std::int32_t points) {
        SetFont(kFieldFace, points, 0);
        const auto cell = FontCellSize();
        return FontCell{cell.charWidth, cell.lineHeight};
    };
    FieldEditResult result = EditFieldCore(gameState, key, character, lines, reinterpret_cast<std::intptr_t>(dialog),
                                           controlId, fontSize, slots, size.width, size.height,
                                           ReadNoteToggles(dialog), measure);
    switch (result.outcome) {
    case EditOutcome::BadFieldRow: ShowMessageBox(result.message); return;
    case EditOutcome::RuntimeError: EndWithEditorError(result.message); return;
    case EditOutcome::EndedEarly:
        // The field keeps its bitmap and its picture exactly as they were.
        return;
    case EditOutcome::Drawn: break;
    }
    PlayPicture(result.picture);
    // Named after its row and its guess, line 1, whichever line the field shows.
    const bool rowKnown = slots.fieldRow >= 1 && slots.fieldRow <= kRowCount;
    SetSurfaceName(FieldName(rowKnown ? gameState.rowLabel[slots.fieldRow] : "", lines[1]));
    ShowSurface();
    SetControlSlot(control, kTopLineSlot, slots.topLine);
    SetControlSlot(control, kLeftColumnSlot, slots.leftColumn);
    SetControlSlot(control, kCaretLineSlot, slots.caretLine);
    SetControlSlot(control, kCaretColumnSlot, slots.caretColumn);
}

void LoadRow(int row)
{
    const std::string error = LoadRow(gameState.editBuffer, gameState.rowText, row);
    if (!error.empty()) EndWithEditorError(error);
}

void RedrawAllFields()
{
    for (int row = 1; row <= kRowCount && IsDialogAlive(mainWindow); ++row) {
        LoadRow(row);
        std::int32_t key = -1;
        EditField(key, "", gameState.editBuffer, mainWindow, kRowFieldBase + row, gameState.fieldStyle[row].fontSize);
    }
}
