#include "render/surface_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "base/dialog_win.h"
#include "base/rounding.h"
#include "render/bitmap_file.h"

namespace {

int TextLength(const std::string& text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

// Selecting a font realises it for the context, which costs many times the
// drawing itself: a font already selected is not selected again.
void SelectFont(HDC dc, HFONT& selected, HFONT font)
{
    if (font == selected) return;
    SelectObject(dc, font);
    selected = font;
}

// The first place the image is looked for that holds a file (a folder too: the
// loader then draws nothing), as a full path: with a bare name the loader would
// try the program's folder first.
std::string ImagePath(const std::string& fileName)
{
    char program[MAX_PATH] = {};
    std::string folder(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
    folder.erase(std::min(folder.find_last_of("\\/"), folder.size()));
    for (const std::string& path : ImageSearchOrder(fileName, folder)) {
        char full[MAX_PATH] = {};
        const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
        if (length > 0 && length < MAX_PATH && GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES) return full;
    }
    return {};
}

void DrawImageFile(HDC dc, const DrawOp& op)
{
    const ImageRect r = ImagePixels(op);
    // A size of 0 would make the loader keep the file's own size instead.
    if (r.width < 1 || r.height < 1) return;
    const std::string path = ImagePath(op.text);
    if (path.empty()) return;
    // Read afresh each time: the file may change or vanish while the game runs.
    GdiOwned<HBITMAP> image(
        static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, r.width, r.height, LR_LOADFROMFILE)));
    if (!image) return;
    MemoryDc source(CreateCompatibleDC(dc));
    SelectionRestorer useImage(source.get(), image.get());
    BitBlt(dc, r.left, r.top, r.width, r.height, source.get(), 0, 0, SRCCOPY);
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

void Fill(HDC dc, int x, int y, COLORREF fill)
{
    const COLORREF area = GetPixel(dc, x, y);
    if (fill == area) return;  // nothing would change
    GdiOwned<HBRUSH> brush(CreateSolidBrush(fill));
    SelectionRestorer useBrush(dc, brush.get());
    ExtFloodFill(dc, x, y, area, FLOODFILLSURFACE);
}

void Play(DrawingSurface& s, const DrawOp& op)
{
    HDC dc = s.dc.get();
    const int x = PixelOf(op.x), y = PixelOf(op.y);
    switch (op.kind) {
    case DrawOpKind::Clear: {
        GdiOwned<HBRUSH> brush(CreateSolidBrush(ToColorRef(op.colour)));
        const RECT all{0, 0, s.width, s.height};
        FillRect(dc, &all, brush.get());
        MoveToEx(dc, 0, 0, nullptr);
        break;
    }
    case DrawOpKind::Box: DrawBox(dc, op); break;
    case DrawOpKind::SetFont:
        if (const FontEntry* entry = BookFont(*s.fonts, {op.text, op.size, op.style})) {
            s.lineHeight = entry->cell.lineHeight;
            SelectFont(dc, s.font, entry->font.get());
        }
        break;
    case DrawOpKind::SetInk: SetTextColor(dc, ToColorRef(op.colour)); break;
    case DrawOpKind::SetBackTransparent: SetBkMode(dc, TRANSPARENT); break;
    case DrawOpKind::SetBackSolid:
        SetBkColor(dc, ToColorRef(op.colour));
        SetBkMode(dc, OPAQUE);
        break;
    case DrawOpKind::MoveTo: MoveToEx(dc, x, y, nullptr); break;
    case DrawOpKind::Print:
        // With TA_UPDATECP the coordinates are ignored: the text starts at the position.
        if (!op.text.empty()) TextOutA(dc, 0, 0, op.text.data(), TextLength(op.text));
        break;
    case DrawOpKind::NewLine: {
        POINT at{};
        GetCurrentPositionEx(dc, &at);
        MoveToEx(dc, 0, at.y + s.lineHeight, nullptr);
        break;
    }
    case DrawOpKind::Image: DrawImageFile(dc, op); break;
    case DrawOpKind::SampleColour: s.sampled = GetPixel(dc, x, y); break;
    case DrawOpKind::FillLike: Fill(dc, x, y, ToColorRef(s.sampled)); break;
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

void OpenFontBook(FontBook& book)
{
    WindowDc screen(nullptr);
    book.measuring.reset(CreateCompatibleDC(screen.dc));
    book.pixelsPerInch = GetDeviceCaps(screen.dc, LOGPIXELSY);
}

const FontEntry* BookFont(FontBook& book, const FontSpec& asked)
{
    const std::int32_t size = PlayedFontSize(asked.size);
    const std::string face = asked.face.substr(0, LF_FACESIZE - 1);
    const auto key = std::make_tuple(face, size, asked.style);
    if (const auto found = book.fonts.find(key); found != book.fonts.end()) return &found->second;
    LOGFONTA request{};
    // Negative: a character height, not a cell height, truncated as the rows of the
    // board are laid out from the metrics that this request gives.
    request.lfHeight = -EmPixels(size, book.pixelsPerInch);
    request.lfWeight = (asked.style & 1) ? FW_BOLD : FW_NORMAL;
    request.lfItalic = (asked.style & 2) ? TRUE : FALSE;
    request.lfUnderline = (asked.style & 4) ? TRUE : FALSE;
    request.lfStrikeOut = (asked.style & 8) ? TRUE : FALSE;
    request.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(request.lfFaceName, face.data(), face.size());
    GdiOwned<HFONT> created(CreateFontIndirectA(&request));
    if (!created) return nullptr;
    SelectFont(book.measuring.get(), book.selected, created.get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(book.measuring.get(), &metrics);
    FontEntry entry{std::move(created), {metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading}};
    return &book.fonts.emplace(key, std::move(entry)).first->second;
}

TextMeasure MeasureWith(FontBook& book)
{
    TextMeasure measure;
    measure.text = [&book](const FontSpec& asked, const std::string& text) {
        const FontEntry* entry = BookFont(book, asked);
        if (entry == nullptr) return PixelSize{};
        SelectFont(book.measuring.get(), book.selected, entry->font.get());
        SIZE extent{};
        GetTextExtentPoint32A(book.measuring.get(), text.data(), TextLength(text), &extent);
        return PixelSize{extent.cx, extent.cy};
    };
    measure.cell = [&book](const FontSpec& asked) {
        const FontEntry* entry = BookFont(book, asked);
        return entry != nullptr ? entry->cell : FontCell{};
    };
    return measure;
}

DrawingSurface CreateSurface(HWND parent, const ControlPlace& place, DWORD extraStyle, FontBook& fonts)
{
    DrawingSurface s;
    s.control = CreateControl(parent, "STATIC", "", SS_OWNERDRAW | extraStyle, place.id, place.x, place.y,
                              place.width, place.height, nullptr);
    s.fonts = &fonts;
    // A zero-sized bitmap would come back monochrome; one pixel keeps it in colour.
    s.width = std::max(place.width, 1);
    s.height = std::max(place.height, 1);
    // Compatible with the screen, not with the memory context, which starts with a
    // monochrome 1x1 bitmap.
    WindowDc screen(nullptr);
    s.dc.reset(CreateCompatibleDC(screen.dc));
    s.bitmap.reset(CreateCompatibleBitmap(screen.dc, s.width, s.height));
    SelectObject(s.dc.get(), s.bitmap.get());
    const RECT all{0, 0, s.width, s.height};
    FillRect(s.dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));  // a system brush: not ours to delete
    SetTextAlign(s.dc.get(), TA_LEFT | TA_TOP | TA_UPDATECP);
    TEXTMETRICA metrics{};
    GetTextMetricsA(s.dc.get(), &metrics);
    s.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    return s;
}

void PaintSurface(const DrawingSurface& surface, HDC dc)
{
    BitBlt(dc, 0, 0, surface.width, surface.height, surface.dc.get(), 0, 0, SRCCOPY);
}

void PlayPicture(DrawingSurface& surface, const Picture& picture)
{
    for (const DrawOp& op : picture.ops) Play(surface, op);
    const bool changed = SetName(surface.control, picture.name);
    if (picture.nameEvent == NameEvent::Always || (changed && picture.nameEvent == NameEvent::WhenChanged)) {
        // The name a reader finds is the one of the control's client object, which the
        // system's accessibility proxy takes from the window text; a text change alone
        // does not tell a reader so everywhere (Wine raises no event for it).
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, surface.control, OBJID_CLIENT, CHILDID_SELF);
    }
    InvalidateRect(surface.control, nullptr, FALSE);
    UpdateWindow(surface.control);
}
