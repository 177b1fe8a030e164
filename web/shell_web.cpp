// The browser's front end: the page (web/indovina.js) makes one <canvas> per
// surface and one button per note toggle, turns its key, click and timer events
// into the calls below, and shows the boxes; this file joins those calls to the
// game's session and hands the session's pictures to the page, one operation at a
// time, with the geometry already in whole pixels.
//
// The page owns its state by a handle: indovina_start returns the shell's record
// and every other call takes it back, so nothing here outlives a game but the
// record the page holds.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/session.h"
#include "base/rounding.h"
#include "render/bitmap_file.h"

// The page's side, in web/indovina.js: each call names the surface by its control
// id, and texts come as Latin-1 bytes, which are the program's texts.
// clang-format off
EM_JS(void, web_titles, (const char* caption, const char* boxCaption), {
    Indovina.titles(UTF8ToString(caption), UTF8ToString(boxCaption));
});
EM_JS(void, web_add_control, (int kind, int id, int x, int y, int width, int height, const char* caption), {
    Indovina.addControl(kind, id, x, y, width, height, UTF8ToString(caption));
});
EM_JS(void, web_op, (int surface, int kind, int x, int y, int x2, int y2, int colour, int fill, int size, int style,
                     const char* text, int length), {
    Indovina.op(surface, kind, x, y, x2, y2, colour >>> 0, fill >>> 0, size, style, Indovina.latin1(HEAPU8, text, length));
});
EM_JS(void, web_image, (int surface, int left, int top, int width, int height, const std::uint32_t* pixels), {
    Indovina.image(surface, left, top, width, height, HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height));
});
EM_JS(void, web_named, (int surface, const char* name, int length, int nameEvent), {
    Indovina.named(surface, Indovina.latin1(HEAPU8, name, length), nameEvent);
});
EM_JS(int, web_text_width, (const char* face, int size, int style, const char* text, int length), {
    return Indovina.textWidth(UTF8ToString(face), size, style, Indovina.latin1(HEAPU8, text, length));
});
EM_JS(int, web_cell, (const char* face, int size, int style, int wanted), {
    return Indovina.cell(UTF8ToString(face), size, style)[wanted];
});
EM_JS(void, web_show_box, (int box, const char* text, int length), {
    Indovina.showBox(box, Indovina.latin1(HEAPU8, text, length));
});
EM_JS(void, web_end, (), { Indovina.end(); });
EM_JS(double, web_wall_ms, (), { return Indovina.wallMs(); });
EM_JS(double, web_steady_ms, (), { return Indovina.steadyMs(); });
// clang-format on

namespace {

constexpr int kPixelsPerInch = 96;

struct WebShell {
    Session session;
    ImageBook images;  // the page writes the marks into the current folder
    std::map<int, std::function<void()>> boxes;  // what follows each open box's closing
    int nextBox = 1;
};

// The page's wall clock is local time in milliseconds since 1970-01-01, so the
// date and time of day come out of it as they would from UTC.
LocalTime PageLocalTime() { return LocalTimeOfMilliseconds(static_cast<std::int64_t>(web_wall_ms())); }

int Length(const std::string& text) { return static_cast<int>(std::min<std::size_t>(text.size(), 1u << 30)); }

// The image stretched into its rectangle by the nearest pixel, as every front end
// draws it; the canvas keeps what falls on it.
void PlayImage(WebShell& shell, int surface, const DrawOp& op)
{
    const ImageRect rect = ImagePixels(op);
    const RgbImage* image = shell.images.Find(op.text);
    if (image == nullptr || rect.width < 1 || rect.height < 1) return;
    const RgbImage cell = Stretched(*image, rect.width, rect.height);
    web_image(surface, rect.left, rect.top, rect.width, rect.height, cell.pixels.data());
}

void PlayPicture(WebShell& shell, int surface, const Picture& picture)
{
    for (const DrawOp& op : picture.ops) {
        if (op.kind == DrawOpKind::Image) {
            PlayImage(shell, surface, op);
            continue;
        }
        int x = PixelOf(op.x), y = PixelOf(op.y), x2 = PixelOf(op.x2), y2 = PixelOf(op.y2);
        if (op.kind == DrawOpKind::Box) {
            const PixelBox box = BoxPixels(op);
            x = box.left, y = box.top, x2 = box.right, y2 = box.bottom;
        }
        // A font's size goes as the pixels of its em; a box's is its corners' percentage.
        const int size = op.kind == DrawOpKind::SetFont ? EmPixels(op.size, kPixelsPerInch) : op.size;
        web_op(surface, static_cast<int>(op.kind), x, y, x2, y2, static_cast<int>(op.colour), static_cast<int>(op.fill),
               size, op.style, op.text.data(), Length(op.text));
    }
    web_named(surface, picture.name.data(), Length(picture.name), static_cast<int>(picture.nameEvent));
}

TextMeasure PageMeasure()
{
    TextMeasure measure;
    measure.text = [](const FontSpec& font, const std::string& text) {
        const int size = EmPixels(font.size, kPixelsPerInch);
        return PixelSize{web_text_width(font.face.c_str(), size, font.style, text.data(), Length(text)),
                         web_cell(font.face.c_str(), size, font.style, 1)};
    };
    measure.cell = [](const FontSpec& font) {
        const int size = EmPixels(font.size, kPixelsPerInch);
        return FontCell{web_cell(font.face.c_str(), size, font.style, 0),
                        web_cell(font.face.c_str(), size, font.style, 1)};
    };
    return measure;
}

FrontEnd PageFrontEnd(WebShell& shell)
{
    FrontEnd frontEnd;
    frontEnd.draw = [&shell](int surface, const Picture& picture) { PlayPicture(shell, surface, picture); };
    frontEnd.measure = PageMeasure();
    frontEnd.showBox = [&shell](const std::string& text, std::function<void()> closed) {
        const int box = shell.nextBox++;
        shell.boxes[box] = std::move(closed);
        web_show_box(box, text.data(), Length(text));
    };
    frontEnd.closeWindow = [] { web_end(); };
    frontEnd.clocks = {PageLocalTime, [] { return web_steady_ms() / 1000; }};
    return frontEnd;
}

}  // namespace

// The page's calls. The session guards each event itself.
extern "C" {

// A new game on the page: the board's controls made, then the board opened. A
// secret given (only the page's test mode gives one) replaces the one drawn.
EMSCRIPTEN_KEEPALIVE WebShell* indovina_start(const char* secret)
{
    auto* shell = new WebShell;
    web_titles(kCaption, kMessageBoxCaption);
    PrepareSession(shell->session, PageFrontEnd(*shell));
    if (secret != nullptr && *secret != '\0') shell->session.game.secret = secret;
    for (const BoardControl& control : shell->session.controls) {
        const ControlPlace& p = control.place;
        web_add_control(static_cast<int>(control.kind), p.id, p.x, p.y, p.width, p.height, control.caption.c_str());
    }
    OpenBoard(shell->session);
    return shell;
}

// A key press or repeat; the window's own Enter and Escape too unless the page's
// menu has the keys.
EMSCRIPTEN_KEEPALIVE void indovina_key(WebShell* shell, int position, int character, int leftCtrl, int windowKey)
{
    // A position the game does not know is any other key.
    const bool known = position >= 0 && position <= static_cast<int>(KeyPosition::Escape);
    const GameKey key{known ? static_cast<KeyPosition>(position) : KeyPosition::Other, static_cast<char>(character),
                      leftCtrl != 0};
    PressKey(shell->session, key);
    if (windowKey != 0) WindowKey(shell->session, key);
}

EMSCRIPTEN_KEEPALIVE void indovina_toggle(WebShell* shell, int id, int pressed)
{
    NoteToggled(shell->session, id, pressed != 0);
}
EMSCRIPTEN_KEEPALIVE void indovina_row(WebShell* shell, int fieldId)
{
    RowClicked(shell->session, fieldId - kRowFieldBase);
}
EMSCRIPTEN_KEEPALIVE void indovina_author(WebShell* shell) { AuthorChosen(shell->session); }
EMSCRIPTEN_KEEPALIVE void indovina_close(WebShell* shell) { CloseAsked(shell->session); }
EMSCRIPTEN_KEEPALIVE void indovina_tick(WebShell* shell) { ClockTicked(shell->session); }

// The player closed the box: what follows it runs once.
EMSCRIPTEN_KEEPALIVE void indovina_box_closed(WebShell* shell, int box)
{
    const auto found = shell->boxes.find(box);
    if (found == shell->boxes.end()) return;
    const std::function<void()> then = std::move(found->second);
    shell->boxes.erase(found);
    then();
}

// What the page's test mode reads of the game: its current row and a row's font size.
EMSCRIPTEN_KEEPALIVE int indovina_current_row(WebShell* shell) { return shell->session.game.currentAttempt; }
EMSCRIPTEN_KEEPALIVE int indovina_font_size(WebShell* shell, int row)
{
    return row >= 1 && row <= kRowCount ? shell->session.game.fieldStyle[row].fontSize : 0;
}
}
