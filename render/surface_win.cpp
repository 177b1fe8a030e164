#include "render/surface_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <type_traits>
#include <utility>

#include "app/clock.h"

namespace {

// --- Owned handles -----------------------------------------------------------

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiOwned = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A window's device context (the screen's for a null window), released at scope end.
struct WindowDc {
    explicit WindowDc(HWND w) : window(w), dc(GetDC(w)) {}
    ~WindowDc()
    {
        if (dc) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HWND window;
    HDC dc;
};

// Selects an object into a context and, at scope end, puts back the object the
// context held before, so that ours is no longer selected when it is deleted.
struct SelectionRestorer {
    SelectionRestorer(HDC d, HGDIOBJ object) : dc(d), original(SelectObject(d, object)) {}
    ~SelectionRestorer()
    {
        if (dc && original) SelectObject(dc, original);
    }
    SelectionRestorer(const SelectionRestorer&) = delete;
    SelectionRestorer& operator=(const SelectionRestorer&) = delete;

    HDC dc;
    HGDIOBJ original;
};

COLORREF ToColorRef(Colour c) { return static_cast<COLORREF>(c & 0x00FFFFFFu); }

// Nearest whole pixel, halves to the even neighbour: callers compute halves and
// quarters of sizes, and this keeps them from all drifting the same way. Kept well
// inside the range in which GDI and our own position arithmetic cannot overflow.
int Pixel(double v)
{
    constexpr double limit = 1 << 30;
    return RoundHalfEven(std::clamp(v, -limit, limit));  // a NaN passes through and gives 0
}

int TextLength(const std::string& text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

}  // namespace

// Position, ink and text background are kept by the memory context itself
// (MoveToEx with TA_UPDATECP, SetTextColor, SetBkMode/SetBkColor), so they persist
// from one selection of the surface to the next without copies that could drift.
struct DrawingSurface {
    // Members are released in reverse order: first the selections are undone, then
    // the context goes, then the bitmap and the font that it no longer holds.
    GdiOwned<HBITMAP> bitmap;
    GdiOwned<HFONT> font;
    MemoryDc dc;
    std::optional<SelectionRestorer> bitmapSelection;
    std::optional<SelectionRestorer> fontSelection;

    HWND window = nullptr;         // the control; null for a memory-only surface
    WNDPROC controlProc = nullptr;  // the static control's own procedure
    int width = 0;
    int height = 0;
    int charWidth = 0;
    int lineHeight = 0;
    LOGFONTA fontRequest{};  // what the selected font was made from
};

namespace {

// The surfaces of all live controls, each owned here until its control is destroyed.
std::map<HWND, std::unique_ptr<DrawingSurface>> controlSurfaces;
DrawingSurface* currentSurface = nullptr;

void ReadFontCell(DrawingSurface& s)
{
    TEXTMETRICA metrics{};
    GetTextMetricsA(s.dc.get(), &metrics);
    s.charWidth = metrics.tmAveCharWidth;
    s.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
}

std::unique_ptr<DrawingSurface> MakeSurface(int width, int height)
{
    auto s = std::make_unique<DrawingSurface>();
    // A zero-sized bitmap would come back monochrome; one pixel keeps it in colour.
    s->width = std::max(width, 1);
    s->height = std::max(height, 1);
    {
        // Compatible with the screen, not with the memory context, which starts
        // with a monochrome 1x1 bitmap.
        WindowDc screen(nullptr);
        s->dc.reset(CreateCompatibleDC(screen.dc));
        s->bitmap.reset(CreateCompatibleBitmap(screen.dc, s->width, s->height));
    }
    HDC dc = s->dc.get();
    s->bitmapSelection.emplace(dc, s->bitmap.get());
    const RECT all{0, 0, s->width, s->height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));  // a system brush: not ours to delete
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    MoveToEx(dc, 0, 0, nullptr);
    ReadFontCell(*s);
    return s;
}

// The static control is subclassed only to learn when it goes away: the surface
// dies with its control.
LRESULT CALLBACK SurfaceControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = controlSurfaces.find(window);
    if (found == controlSurfaces.end()) return DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC original = found->second->controlProc;
    if (message == WM_NCDESTROY) {
        if (currentSurface == found->second.get()) currentSurface = nullptr;
        controlSurfaces.erase(found);
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace

HWND CreateSurface(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    const DWORD style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | (extraStyle & ~static_cast<DWORD>(SS_TYPEMASK));
    HWND control = CreateWindowExA(0, "STATIC", "", style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) return nullptr;
    RECT client{};
    GetClientRect(control, &client);
    auto surface = MakeSurface(client.right - client.left, client.bottom - client.top);
    surface->window = control;
    DrawingSurface& registered = *(controlSurfaces[control] = std::move(surface));
    // Registered before subclassing, so the new procedure always finds its surface.
    registered.controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SurfaceControlProc)));
    return control;
}

bool PaintSurfaceItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_STATIC) return false;
    const auto found = controlSurfaces.find(item.hwndItem);
    if (found == controlSurfaces.end()) return false;
    const DrawingSurface& s = *found->second;
    BitBlt(item.hDC, 0, 0, s.width, s.height, s.dc.get(), 0, 0, SRCCOPY);
    return true;
}

MemorySurfaceScope::MemorySurfaceScope(int width, int height) : surface(MakeSurface(width, height))
{
    currentSurface = surface.get();
}

MemorySurfaceScope::~MemorySurfaceScope()
{
    if (currentSurface == surface.get()) currentSurface = nullptr;
}

void SelectSurface(HWND dialog, int id)
{
    // Every operation only changes the bitmap until ShowSurface: this is the
    // buffered mode in which all of the program's drawing is done.
    const auto found = controlSurfaces.find(GetDlgItem(dialog, id));
    currentSurface = found == controlSurfaces.end() ? nullptr : found->second.get();
}

void ShowSurface()
{
    if (!currentSurface || !currentSurface->window) return;
    InvalidateRect(currentSurface->window, nullptr, FALSE);
    UpdateWindow(currentSurface->window);
}

bool SetSurfaceName(const std::string& name)
{
    if (!currentSurface || !currentSurface->window) return false;
    HWND window = currentSurface->window;
    // Compared with the text the control holds, not with a copy of our own that
    // could drift from it.
    const int length = GetWindowTextLengthA(window);
    if (length == static_cast<int>(name.size())) {
        std::string current(static_cast<std::size_t>(length) + 1, '\0');
        GetWindowTextA(window, current.data(), length + 1);
        current.resize(static_cast<std::size_t>(length));
        if (current == name) return false;
    }
    // Straight to the default window procedure: a static control answers
    // WM_SETTEXT by painting itself at once, which for an owner-drawn one is a
    // WM_DRAWITEM per change, ten a second for the clock panels. The default
    // procedure only stores the text.
    DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    AnnounceSurfaceName();
    return true;
}

void AnnounceSurfaceName()
{
    if (!currentSurface || !currentSurface->window) return;
    // The name a reader finds is the one of the control's client object, which the
    // system's accessibility proxy takes from the window text; a text change alone
    // does not tell a reader so everywhere (Wine raises no event for it).
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, currentSurface->window, OBJID_CLIENT, CHILDID_SELF);
}

void SetFont(const std::string& face, int size, int style)
{
    if (!currentSurface) return;
    DrawingSurface& s = *currentSurface;
    if (size < 1 || size > 72) size = 8;
    LOGFONTA request{};
    // Negative: a character height, not a cell height. Truncated, not rounded (14
    // points at 96 dpi ask for 18 pixels, not 19), since the rows of the board are
    // laid out from the metrics that this request gives.
    request.lfHeight = -(GetDeviceCaps(s.dc.get(), LOGPIXELSY) * size / 72);
    request.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
    request.lfItalic = (style & 2) ? TRUE : FALSE;
    request.lfUnderline = (style & 4) ? TRUE : FALSE;
    request.lfStrikeOut = (style & 8) ? TRUE : FALSE;
    request.lfCharSet = DEFAULT_CHARSET;
    const std::size_t faceLength = std::min(face.size(), sizeof request.lfFaceName - 1);
    std::memcpy(request.lfFaceName, face.data(), faceLength);

    // Every drawing sets its font anew; the one already selected is kept rather than
    // made again, which would give the same letters at many times the cost.
    if (s.font && std::memcmp(&request, &s.fontRequest, sizeof request) == 0) return;
    GdiOwned<HFONT> created(CreateFontIndirectA(&request));
    if (!created) return;
    s.fontRequest = request;
    if (s.fontSelection) {
        SelectObject(s.dc.get(), created.get());
    } else {
        s.fontSelection.emplace(s.dc.get(), created.get());
    }
    s.font = std::move(created);  // the font selected before is now free and deleted
    ReadFontCell(s);
}

void SetInkColour(Colour ink)
{
    if (currentSurface) SetTextColor(currentSurface->dc.get(), ToColorRef(ink));
}

void SetTextBackColour(std::optional<Colour> back)
{
    if (!currentSurface) return;
    HDC dc = currentSurface->dc.get();
    if (back) {
        SetBkColor(dc, ToColorRef(*back));
        SetBkMode(dc, OPAQUE);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
}

void MoveTo(double x, double y)
{
    if (currentSurface) MoveToEx(currentSurface->dc.get(), Pixel(x), Pixel(y), nullptr);
}

void PrintText(const std::string& text)
{
    if (!currentSurface || text.empty()) return;
    // With TA_UPDATECP the coordinates are ignored: the text starts at the position.
    TextOutA(currentSurface->dc.get(), 0, 0, text.data(), TextLength(text));
}

void NewLine()
{
    if (!currentSurface) return;
    HDC dc = currentSurface->dc.get();
    POINT at{};
    GetCurrentPositionEx(dc, &at);
    MoveToEx(dc, 0, Pixel(static_cast<double>(at.y) + currentSurface->lineHeight), nullptr);
}

void DrawBox(double x1, double y1, double x2, double y2, int cornerPercent, Colour border, Colour fill,
             int /*fillStyle*/)
{
    if (!currentSurface) return;
    HDC dc = currentSurface->dc.get();
    int left = Pixel(x1);
    int top = Pixel(y1);
    int right = Pixel(x2);
    int bottom = Pixel(y2);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int curve = std::min(right - left, bottom - top) * std::clamp(cornerPercent, 0, 100) / 100;

    GdiOwned<HPEN> pen(CreatePen(PS_SOLID, 1, ToColorRef(border)));
    GdiOwned<HBRUSH> brush(CreateSolidBrush(ToColorRef(fill)));
    SelectionRestorer usePen(dc, pen.get());
    SelectionRestorer useBrush(dc, brush.get());
    // GDI leaves a rectangle's right and bottom edges out, so (0, 0)-(w, h) is the
    // whole surface and neighbouring boxes share no pixel.
    RoundRect(dc, left, top, right, bottom, curve, curve);
}

void ClearSurface(Colour fill, int /*fillStyle*/)
{
    if (!currentSurface) return;
    DrawingSurface& s = *currentSurface;
    GdiOwned<HBRUSH> brush(CreateSolidBrush(ToColorRef(fill)));
    const RECT all{0, 0, s.width, s.height};
    FillRect(s.dc.get(), &all, brush.get());
    MoveToEx(s.dc.get(), 0, 0, nullptr);
}

PixelSize MeasureText(const std::string& text)
{
    if (!currentSurface) return {};
    SIZE extent{};
    GetTextExtentPoint32A(currentSurface->dc.get(), text.data(), TextLength(text), &extent);
    return {extent.cx, extent.cy};
}

PixelSize SurfaceSize()
{
    if (!currentSurface) return {};
    return {currentSurface->width, currentSurface->height};
}

CellSize FontCellSize()
{
    if (!currentSurface) return {};
    return {currentSurface->charWidth, currentSurface->lineHeight};
}

Colour ReadPixel(double x, double y)
{
    if (!currentSurface) return 0;
    return GetPixel(currentSurface->dc.get(), Pixel(x), Pixel(y));
}

void FloodFill(double x, double y, Colour fillColour, Colour areaColour)
{
    if (!currentSurface) return;
    const COLORREF fill = ToColorRef(fillColour);
    const COLORREF area = ToColorRef(areaColour);
    if (fill == area) return;  // nothing would change
    HDC dc = currentSurface->dc.get();
    GdiOwned<HBRUSH> brush(CreateSolidBrush(fill));
    SelectionRestorer useBrush(dc, brush.get());
    ExtFloodFill(dc, Pixel(x), Pixel(y), area, FLOODFILLSURFACE);
}

void DrawImageFile(const std::string& fileName, double x1, double y1, double x2, double y2)
{
    if (!currentSurface) return;
    const int left = Pixel(x1);
    const int top = Pixel(y1);
    const int width = Pixel(x2) - left + 1;
    const int height = Pixel(y2) - top + 1;
    // A size of 0 would make the loader keep the file's own size instead.
    if (width < 1 || height < 1) return;
    // Given a bare name, the loader looks in the program's own folder before the
    // current directory; the images belong to the current directory alone, so the
    // name is made full against it first.
    char fullName[MAX_PATH] = {};
    const DWORD fullLength = GetFullPathNameA(fileName.c_str(), MAX_PATH, fullName, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH) return;
    // Read afresh each time: the file may change or vanish while the game runs.
    GdiOwned<HBITMAP> image(
        static_cast<HBITMAP>(LoadImageA(nullptr, fullName, IMAGE_BITMAP, width, height, LR_LOADFROMFILE)));
    if (!image) return;
    HDC dc = currentSurface->dc.get();
    MemoryDc source(CreateCompatibleDC(dc));
    SelectionRestorer useImage(source.get(), image.get());
    BitBlt(dc, left, top, width, height, source.get(), 0, 0, SRCCOPY);
}
