#include "app/session.h"

#include <utility>

#include "base/runtime_error.h"
#include "game/turn_rule.h"
#include "render/accessible_text.h"
#include "render/board_pictures.h"

namespace {

// --- The drawstate -------------------------------------------------------------

// A surface's picture for this event; the last one made wins.
void Make(Session& s, int surface, Picture picture) { s.made[surface] = std::move(picture); }

// A panel's picture, made only when its texts are not the ones it was drawn from.
void MakePanel(Session& s, int panel, const std::string& top, const std::string& bottom)
{
    std::string texts = top + '\n' + bottom;
    if (s.panelTexts[panel] == texts) return;
    Make(s, panel, InfoPanelPicture(panel, top, bottom, SurfaceSize(s, panel), s.frontEnd.measure));
    s.panelTexts[panel] = std::move(texts);
}

// Draws each surface whose picture differs from the one it shows, and a picture
// that must be told again (a row scored again) even when it does not.
void DrawChanges(Session& s)
{
    std::map<int, Picture> made = std::exchange(s.made, {});
    for (auto& [surface, picture] : made) {
        if (s.closed) return;  // the window is gone with its surfaces
        const auto shown = s.shown.find(surface);
        if (shown != s.shown.end() && shown->second.ops == picture.ops && shown->second.name == picture.name &&
            picture.nameEvent != NameEvent::Always) {
            continue;
        }
        s.frontEnd.draw(surface, picture);
        s.shown[surface] = std::move(picture);
    }
}

// --- Boxes and the end of the window ---------------------------------------------

void Close(Session& s)
{
    if (s.closed) return;
    s.closed = true;
    s.boxes.clear();
    s.frontEnd.closeWindow();
}

void QueueBox(Session& s, std::string text, std::function<void()> then = {})
{
    s.boxes.push_back({std::move(text), std::move(then)});
}

// A run-time error: its box, and the window ends when it is closed. Until then
// the game takes no key and no click.
void Fail(Session& s, std::string message)
{
    if (s.failed) return;
    s.failed = true;
    QueueBox(s, std::move(message), [&s] { Close(s); });
}

void ShowNextBox(Session& s);

// Every event runs here: one at a time (an event that comes while another is
// being handled, from a platform that runs its loop further down, is dropped),
// with the guard that turns an escaping exception into the run-time error box,
// and with the board drawn and the next box shown once the work is done.
template <class Work>
void HandleEvent(Session& s, const char* where, Work&& work) noexcept
{
    if (s.closed || s.busy) return;
    s.busy = true;
    try {
        work();
        DrawChanges(s);
    } catch (...) {
        s.made.clear();
        try {
            Fail(s, CurrentExceptionText(where));
        } catch (...) {
            Close(s);  // not even the box could be made
        }
    }
    s.busy = false;
    try {
        ShowNextBox(s);
    } catch (...) {
        Close(s);  // a box that cannot be shown cannot be waited for
    }
}

void ShowNextBox(Session& s)
{
    if (s.closed || s.boxOpen || s.boxes.empty()) return;
    Session::Box box = std::move(s.boxes.front());
    s.boxes.pop_front();
    s.boxOpen = true;
    s.frontEnd.showBox(box.text, [&s, then = std::move(box.then)] {
        s.boxOpen = false;
        HandleEvent(s, "MessageBox", [&] {
            if (then) then();
        });
    });
}

// --- Rows and their fields -----------------------------------------------------

// Applies one key to a row's field: its text is edited, its view moved and its
// new picture made. A run-time error of the editor ends the game with its box.
void EditRow(Session& s, int row, std::int32_t key, const std::string& character)
{
    if (s.failed) return;
    const int surface = kRowFieldBase + row;
    FieldKey in;
    in.row = row;
    in.key = key;
    in.character = character;
    in.fontSize = s.game.fieldStyle[row].fontSize;
    in.view = s.fields[row];
    in.surface = SurfaceSize(s, surface);
    in.toggles = s.notes;
    TextLines& lines = s.game.rowText[row];
    FieldEditResult result = ApplyFieldKey(s.game, s.editorMemory, lines, in, s.frontEnd.measure);
    switch (result.outcome) {
    case EditOutcome::RuntimeError: Fail(s, result.message); return;
    case EditOutcome::EndedEarly: return;  // the field stays exactly as it was
    case EditOutcome::Drawn: break;
    }
    s.fields[row] = result.view;
    // Named after its row and its guess, line 1, whichever line the field shows.
    Make(s, surface, Picture{std::move(result.picture), FieldName(s.game.rowLabel[row], lines[1])});
}

// Every field without its caret, scrolled back to its first column.
void RedrawAllFields(Session& s)
{
    for (int row = 1; row <= kRowCount; ++row) EditRow(s, row, fieldKey::kRedrawOnly, "");
}

// The current row's field with its caret, so typing goes there.
void ActivateCurrentRow(Session& s) { EditRow(s, s.game.currentAttempt, fieldKey::kActivate, ""); }

void MakeHelpPanel(Session& s)
{
    if (auto picture = HelpPanelPicture(s.game, s.game.currentAttempt, SurfaceSize(s, kHelpPanel), s.frontEnd.measure)) {
        Make(s, kHelpPanel, std::move(*picture));
    }
}

void MoveToRow(Session& s, int row)
{
    s.game.currentAttempt = row;
    MakeHelpPanel(s);
    ActivateCurrentRow(s);
}

void MakeDigitPanel(Session& s) { MakePanel(s, kDigitPanel, s.dateText, s.game.untriedDigits); }

void MakeAnswer(Session& s, int row, const std::string& answer, bool scored)
{
    const int surface = kAnswerSurfaceBase + row;
    Make(s, surface, AnswerMarksPicture(answer, scored, SurfaceSize(s, surface)));
}

// The turn rule on the current row; the answer and the tried digits on the board,
// then the next row, or the end boxes, over a board that shows no caret.
void SubmitGuess(Session& s)
{
    const TurnOutcome outcome = SubmitTurn(s.game);
    if (!outcome.scored) return;
    s.dateText = DateText(s.frontEnd.clocks.localTime());
    MakeDigitPanel(s);
    MakeAnswer(s, outcome.row, outcome.answer, true);
    RedrawAllFields(s);
    if (outcome.endTexts.empty()) {
        MoveToRow(s, outcome.nextRow);
        return;
    }
    // The boxes come in order once this key has been handled; the window ends
    // when the last is closed. The game is over already, so nothing that happens
    // while they are open changes the ending.
    for (std::size_t k = 0; k < outcome.endTexts.size(); ++k) {
        const bool last = k + 1 == outcome.endTexts.size();
        QueueBox(s, outcome.endTexts[k], last ? std::function<void()>([&s] { Close(s); }) : nullptr);
    }
}

// A toggle, and Enter as the window's default command: every field redrawn with
// the notes, and the current row active again.
void RedrawAndActivate(Session& s)
{
    RedrawAllFields(s);
    ActivateCurrentRow(s);
}

}  // namespace

PixelSize SurfaceSize(const Session& s, int surface)
{
    const auto found = s.surfaceSizes.find(surface);
    return found != s.surfaceSizes.end() ? found->second : PixelSize{};
}

void PrepareSession(Session& s, FrontEnd frontEnd)
{
    s.frontEnd = std::move(frontEnd);
    const LocalTime now = s.frontEnd.clocks.localTime();
    s.game = InitGame(s.randomState, now);
    s.dateText = DateText(now);
    s.controls = BoardControls(LayOutRows(s.game, s.frontEnd.measure));
    for (const BoardControl& control : s.controls) {
        s.surfaceSizes[control.place.id] = {control.place.width, control.place.height};
    }
}

void OpenBoard(Session& s)
{
    HandleEvent(s, "OpenBoard", [&] {
        MakeHelpPanel(s);
        for (int row = 1; row <= kRowCount; ++row) {
            const int label = kRowLabelBase + row;
            Make(s, label, RowLabelPicture(s.game, row, SurfaceSize(s, label), s.frontEnd.measure));
            MakeAnswer(s, row, "", false);
        }
        MakeDigitPanel(s);
        RedrawAndActivate(s);
    });
    // The clock starts after all the drawing above.
    const Clocks& clocks = s.frontEnd.clocks;
    s.gameClock = StartGameClock(SecondsSinceMidnight(clocks.localTime()), clocks.steadySeconds());
}

void PressKey(Session& s, const GameKey& key)
{
    HandleEvent(s, "KeyboardHookProc", [&] {
        if (s.game.gameOver != 0 || s.failed) return;
        const int row = s.game.currentAttempt;
        if (IsSubmitKey(key) && s.game.fieldStyle[row].submitOnEnter == 1) {
            SubmitGuess(s);
        } else {
            const std::string character = key.character != 0 ? std::string(1, key.character) : std::string();
            EditRow(s, row, EditorKeyOf(key), character);
        }
    });
}

void WindowKey(Session& s, const GameKey& key)
{
    if (s.boxOpen) return;
    if (key.position == KeyPosition::Enter) DefaultCommand(s);
    if (key.position == KeyPosition::Escape) CloseAsked(s);
}

void NoteToggled(Session& s, int toggleId, bool pressed)
{
    const int digit = toggleId % 100 - 1;
    if (digit < 0 || digit > 9) return;
    auto& notes = toggleId / 100 == kCrossOutToggleBase / 100 ? s.notes.crossedOut : s.notes.highlighted;
    HandleEvent(s, "DialogProc", [&] {
        notes[static_cast<std::size_t>(digit)] = pressed;
        if (!s.failed) RedrawAndActivate(s);
    });
}

void DefaultCommand(Session& s)
{
    HandleEvent(s, "DialogProc", [&] {
        // The box that is open has Enter; and the board keeps no caret while the
        // end boxes are up.
        if (!s.boxOpen && !s.failed) RedrawAndActivate(s);
    });
}

void RowClicked(Session& s, int row)
{
    HandleEvent(s, "DialogProc", [&] {
        // The ending belongs to the row that was scored.
        if (s.game.gameOver != 0 || s.failed || row < 1 || row > kRowCount) return;
        RedrawAllFields(s);
        MoveToRow(s, row);
    });
}

void AuthorChosen(Session& s)
{
    // The window stays enabled: ticks, clicks and keys go on while it is up.
    HandleEvent(s, "DialogProc", [&] { QueueBox(s, kAuthorText); });
}

void CloseAsked(Session& s)
{
    HandleEvent(s, "DialogProc", [&] { Close(s); });
}

void ClockTicked(Session& s)
{
    HandleEvent(s, "TimerProc", [&] {
        const Clocks& clocks = s.frontEnd.clocks;
        const LocalTime now = clocks.localTime();
        MakePanel(s, kClockPanel, ClockTopText(now), AttemptCaption(s.game.currentAttempt));
        if (s.game.gameOver == 0) {
            const double elapsed = ElapsedSeconds(s.gameClock, SecondsSinceMidnight(now), clocks.steadySeconds());
            MakePanel(s, kElapsedPanel, ElapsedText(elapsed), kElapsedCaption);
        }
    });
}
