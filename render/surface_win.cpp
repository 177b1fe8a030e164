#include "render/surface_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "base/dialog_win.h"
#include "base/gdi_win.h"
#include "base/rounding.h"

namespace {

struct FontEntry {
    GdiOwned<HFONT> font;
    FontCell cell;
};

// Fonts are asked for by face, size and style; equal requests share one font.
using FontKey = std::tuple<std::string, std::int32_t, std::int32_t>;

int TextLength(const std::string& text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

}  // namespace

struct FontBook {
    MemoryDc measuring;  // holds the screen's resolution; its own bitmap is never drawn on
    std::optional<SelectionRestorer> measuringSelection;
    std::map<FontKey, FontEntry> fonts;
    int pixelsPerInch = 96;

    // The font of a request, made on first use. Null when the system makes none.
    const FontEntry* Font(const FontSpec& asked)
    {
        std::int32_t size = asked.size;
        if (size < 1 || size > 72) size = 8;
        std::string face = asked.face.substr(0, LF_FACESIZE - 1);
        FontKey key{face, size, asked.style};
        if (const auto found = fonts.find(key); found != fonts.end()) return &found->second;

        LOGFONTA request{};
        // Negative: a character height, not a cell height. Truncated, not rounded (14
        // points at 96 dpi ask for 18 pixels, not 19), since the rows of the board are
        // laid out from the metrics that this request gives.
        request.lfHeight = -(pixelsPerInch * size / 72);
        request.lfWeight = (asked.style & 1) ? FW_BOLD : FW_NORMAL;
        request.lfItalic = (asked.style & 2) ? TRUE : FALSE;
        request.lfUnderline = (asked.style & 4) ? TRUE : FALSE;
        request.lfStrikeOut = (asked.style & 8) ? TRUE : FALSE;
        request.lfCharSet = DEFAULT_CHARSET;
        std::memcpy(request.lfFaceName, face.data(), face.size());
        GdiOwned<HFONT> created(CreateFontIndirectA(&request));
        if (!created) return nullptr;
        SelectFont(created.get());
        TEXTMETRICA metrics{};
        GetTextMetricsA(measuring.get(), &metrics);
        FontEntry entry{std::move(created), {metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading}};
        return &fonts.emplace(std::move(key), std::move(entry)).first->second;
    }

    void SelectFont(HFONT font)
    {
        // Selecting a font realises it for the context, which costs far more than
        // the drawing itself: a font already selected stays.
        if (font == selected) return;
        if (measuringSelection) {
            SelectObject(measuring.get(), font);
        } else {
            measuringSelection.emplace(measuring.get(), font);
        }
        selected = font;
    }
    HFONT selected = nullptr;
};

void FreeFontBook(FontBook* book) { delete book; }

FontBookOwner NewFontBook()
{
    FontBookOwner book(new FontBook);
    WindowDc screen(nullptr);
    book->measuring.reset(CreateCompatibleDC(screen.dc));
    book->pixelsPerInch = GetDeviceCaps(screen.dc, LOGPIXELSY);
    return book;
}

TextMeasure MeasureWith(FontBook& fonts)
{
    TextMeasure measure;
    measure.text = [&fonts](const FontSpec& asked, const std::string& text) {
        const FontEntry* entry = fonts.Font(asked);
        if (entry == nullptr) return PixelSize{};
        fonts.SelectFont(entry->font.get());
        SIZE extent{};
        GetTextExtentPoint32A(fonts.measuring.get(), text.data(), TextLength(text), &extent);
        return PixelSize{extent.cx, extent.cy};
    };
    measure.cell = [&fonts](const FontSpec& asked) {
        const FontEntry* entry = fonts.Font(asked);
        return entry != nullptr ? entry->cell : FontCell{};
    };
    return measure;
}

// Position, ink and text background are kept by the memory context itself
// (MoveToEx with TA_UPDATECP, SetTextColor, SetBkMode/SetBkColor), so they persist
// from one picture of the surface to the next without copies that could drift.
struct DrawingSurface {
    HWND window = nullptr;
    WNDPROC controlProc = nullptr;  // the static control's own procedure
    FontBook* fonts = nullptr;
    int width = 0;
    int height = 0;

    // Made when the first picture is played: a surface shows the button face until
    // then, and the clock panels wait for their first tick. Members are released in
    // reverse order: the selections are undone, then the context goes, then the
    // bitmap that it no longer holds. The fonts belong to the book.
    GdiOwned<HBITMAP> bitmap;
    MemoryDc dc;
    std::optional<SelectionRestorer> bitmapSelection;
    std::optional<SelectionRestorer> fontSelection;
    HFONT font = nullptr;  // the one selected
    int lineHeight = 0;
    COLORREF sampled = 0;
};

namespace {

LRESULT CALLBACK SurfaceControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The surface of a control; null for any other window. Only the controls that run
// our procedure carry a surface in their user data.
DrawingSurface* SurfaceOf(HWND window)
{
    if (window == nullptr) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) != &SurfaceControlProc) return nullptr;
    return reinterpret_cast<DrawingSurface*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void EnsureBitmap(DrawingSurface& s)
{
    if (s.dc) return;
    {
        // Compatible with the screen, not with the memory context, which starts
        // with a monochrome 1x1 bitmap.
        WindowDc screen(nullptr);
        s.dc.reset(CreateCompatibleDC(screen.dc));
        s.bitmap.reset(CreateCompatibleBitmap(screen.dc, s.width, s.height));
    }
    HDC dc = s.dc.get();
    s.bitmapSelection.emplace(dc, s.bitmap.get());
    const RECT all{0, 0, s.width, s.height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));  // a system brush: not ours to delete
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    MoveToEx(dc, 0, 0, nullptr);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    s.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
}

// The static control is subclassed only to learn when it goes away: the surface
// dies with its control.
LRESULT CALLBACK SurfaceControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* s = reinterpret_cast<DrawingSurface*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (s == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC original = s->controlProc;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        delete s;
    }
    LRESULT result = 0;
    RunGuarded(window, "SurfaceProc", [&] { result = CallWindowProcA(original, window, message, wParam, lParam); });
    return result;
}

void SelectSurfaceFont(DrawingSurface& s, const FontSpec& asked)
{
    const FontEntry* entry = s.fonts->Font(asked);
    if (entry == nullptr) return;
    s.lineHeight = entry->cell.lineHeight;
    // Every picture sets its font anew; selecting the one already selected again
    // would realise it again, at many times the cost of the drawing.
    if (entry->font.get() == s.font) return;
    s.font = entry->font.get();
    if (s.fontSelection) {
        SelectObject(s.dc.get(), entry->font.get());
    } else {
        s.fontSelection.emplace(s.dc.get(), entry->font.get());
    }
}

// An image file by a bare or relative name: the current directory first, so that
// a player's own images there win, then the folder of the program, where the
// package puts them (a shortcut may start the game anywhere). The loader is given
// a full name either way: with a bare one it would try the program's folder first.
std::string ImagePath(const std::string& fileName)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(fileName.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return {};
    if (GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES) return full;
    const bool relative = fileName.find(':') == std::string::npos && !fileName.starts_with('\\') &&
                          !fileName.starts_with('/');
    if (!relative) return {};
    char program[MAX_PATH] = {};
    const DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (programLength == 0 || programLength >= MAX_PATH) return {};
    std::string folder(program, programLength);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + fileName;
}

void DrawImageFile(DrawingSurface& s, const DrawOp& op)
{
    const int left = PixelOf(op.x);
    const int top = PixelOf(op.y);
    const int width = PixelOf(op.x2) - left + 1;
    const int height = PixelOf(op.y2) - top + 1;
    // A size of 0 would make the loader keep the file's own size instead.
    if (width < 1 || height < 1) return;
    const std::string path = ImagePath(op.text);
    if (path.empty()) return;
    // Read afresh each time: the file may change or vanish while the game runs.
    GdiOwned<HBITMAP> image(
        static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE)));
    if (!image) return;
    MemoryDc source(CreateCompatibleDC(s.dc.get()));
    SelectionRestorer useImage(source.get(), image.get());
    BitBlt(s.dc.get(), left, top, width, height, source.get(), 0, 0, SRCCOPY);
}

void DrawBox(HDC dc, const DrawOp& op)
{
    const auto [left, top, right, bottom] = BoxPixels(op);
    const int curve = std::min(right - left, bottom - top) * std::clamp<int>(op.size, 0, 100) / 100;
    GdiOwned<HPEN> pen(CreatePen(PS_SOLID, 1, ToColorRef(op.colour)));
    GdiOwned<HBRUSH> brush(CreateSolidBrush(ToColorRef(op.fill)));
    SelectionRestorer usePen(dc, pen.get());
    SelectionRestorer useBrush(dc, brush.get());
    // GDI leaves a rectangle's right and bottom edges out, so (0, 0)-(w, h) is the
    // whole surface and neighbouring boxes share no pixel.
    RoundRect(dc, left, top, right, bottom, curve, curve);
}

void Play(DrawingSurface& s, const DrawOp& op)
{
    HDC dc = s.dc.get();
    switch (op.kind) {
    case DrawOpKind::Clear: {
        GdiOwned<HBRUSH> brush(CreateSolidBrush(ToColorRef(op.colour)));
        const RECT all{0, 0, s.width, s.height};
        FillRect(dc, &all, brush.get());
        MoveToEx(dc, 0, 0, nullptr);
        break;
    }
    case DrawOpKind::Box: DrawBox(dc, op); break;
    case DrawOpKind::SetFont: SelectSurfaceFont(s, {op.text, op.size, op.style}); break;
    case DrawOpKind::SetInk: SetTextColor(dc, ToColorRef(op.colour)); break;
    case DrawOpKind::SetBackTransparent: SetBkMode(dc, TRANSPARENT); break;
    case DrawOpKind::SetBackSolid:
        SetBkColor(dc, ToColorRef(op.colour));
        SetBkMode(dc, OPAQUE);
        break;
    case DrawOpKind::MoveTo: MoveToEx(dc, PixelOf(op.x), PixelOf(op.y), nullptr); break;
    case DrawOpKind::Print:
        // With TA_UPDATECP the coordinates are ignored: the text starts at the position.
        if (!op.text.empty()) TextOutA(dc, 0, 0, op.text.data(), TextLength(op.text));
        break;
    case DrawOpKind::NewLine: {
        POINT at{};
        GetCurrentPositionEx(dc, &at);
        MoveToEx(dc, 0, PixelOf(static_cast<double>(at.y) + s.lineHeight), nullptr);
        break;
    }
    case DrawOpKind::Image: DrawImageFile(s, op); break;
    case DrawOpKind::SampleColour: s.sampled = GetPixel(dc, PixelOf(op.x), PixelOf(op.y)); break;
    case DrawOpKind::FillLike: {
        const COLORREF fill = ToColorRef(s.sampled);
        const COLORREF area = ToColorRef(GetPixel(dc, PixelOf(op.x), PixelOf(op.y)));
        if (fill == area) break;  // nothing would change
        GdiOwned<HBRUSH> brush(CreateSolidBrush(fill));
        SelectionRestorer useBrush(dc, brush.get());
        ExtFloodFill(dc, PixelOf(op.x), PixelOf(op.y), area, FLOODFILLSURFACE);
        break;
    }
    }
}

// Gives the control its name; true when it changed. Compared with the text the
// control holds, not with a copy of our own that could drift from it.
bool SetName(HWND window, const std::string& name)
{
    const int length = GetWindowTextLengthA(window);
    if (length == static_cast<int>(name.size())) {
        std::string current(static_cast<std::size_t>(length) + 1, '\0');
        GetWindowTextA(window, current.data(), length + 1);
        current.resize(static_cast<std::size_t>(length));
        if (current == name) return false;
    }
    // Straight to the default window procedure: a static control answers
    // WM_SETTEXT by painting itself at once, which for an owner-drawn one is a
    // WM_DRAWITEM per change. The default procedure only stores the text.
    DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    return true;
}

}  // namespace

HWND CreateSurface(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle, FontBook& fonts)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    const DWORD style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | (extraStyle & ~static_cast<DWORD>(SS_TYPEMASK));
    HWND control = CreateWindowExA(0, "STATIC", "", style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) return nullptr;
    RECT client{};
    GetClientRect(control, &client);
    auto* s = new DrawingSurface;
    s->window = control;
    s->fonts = &fonts;
    // A zero-sized bitmap would come back monochrome; one pixel keeps it in colour.
    s->width = std::max<int>(client.right - client.left, 1);
    s->height = std::max<int>(client.bottom - client.top, 1);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    s->controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SurfaceControlProc)));
    return control;
}

bool PaintSurfaceItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_STATIC) return false;
    const DrawingSurface* s = SurfaceOf(item.hwndItem);
    if (s == nullptr) return false;
    if (s->dc) {
        BitBlt(item.hDC, 0, 0, s->width, s->height, s->dc.get(), 0, 0, SRCCOPY);
    } else {
        const RECT all{0, 0, s->width, s->height};
        FillRect(item.hDC, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    return true;
}

PixelSize SurfaceSize(HWND surface)
{
    const DrawingSurface* s = SurfaceOf(surface);
    return s != nullptr ? PixelSize{s->width, s->height} : PixelSize{};
}

void PlayPicture(HWND surface, const Picture& picture)
{
    DrawingSurface* s = SurfaceOf(surface);
    if (s == nullptr) return;
    EnsureBitmap(*s);
    for (const DrawOp& op : picture.ops) Play(*s, op);
    const bool changed = SetName(s->window, picture.name);
    if (picture.nameEvent == NameEvent::Always || (changed && picture.nameEvent == NameEvent::WhenChanged)) {
        // The name a reader finds is the one of the control's client object, which the
        // system's accessibility proxy takes from the window text; a text change alone
        // does not tell a reader so everywhere (Wine raises no event for it).
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, s->window, OBJID_CLIENT, CHILDID_SELF);
    }
    InvalidateRect(s->window, nullptr, FALSE);
    UpdateWindow(s->window);
}

Colour SurfacePixel(HWND surface, int x, int y)
{
    DrawingSurface* s = SurfaceOf(surface);
    if (s == nullptr) return CLR_INVALID;
    EnsureBitmap(*s);
    return GetPixel(s->dc.get(), x, y);
}
