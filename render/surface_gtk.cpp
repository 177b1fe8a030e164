#include "render/surface_gtk.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "base/rounding.h"

namespace {

constexpr int kPixelsPerInch = 96;
// What a surface shows before its first picture, as a Windows control shows the
// button face.
constexpr Colour kButtonFace = 0xC8D0D4;
constexpr const char* kSurfaceKey = "indovina-surface";

struct FontEntry {
    PangoFontDescription* description = nullptr;
    PangoAttrList* attributes = nullptr;  // underline and strikeout
    FontCell cell;
    int ascent = 0;  // from the top of a line to its baseline
};

using FontKey = std::tuple<std::string, std::int32_t, std::int32_t>;

std::string Lowered(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Control characters, which GDI shows as nothing in a cell, are drawn as blanks
// so that they keep their width in the fixed-pitch fields.
std::string DrawnText(const std::string& text)
{
    std::string shown = text;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return Utf8FromLatin1(shown);
}

// Cairo's RGB24 pixel (0x00RRGGBB) from the program's colour (0x00BBGGRR), and back.
std::uint32_t PixelFrom(Colour colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
Colour ColourFrom(std::uint32_t pixel) { return PixelFrom(pixel & 0xFFFFFFu); }

void SetSource(cairo_t* cr, Colour colour)
{
    cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0, ((colour >> 16) & 0xFF) / 255.0);
}

}  // namespace

struct FontBook {
    PangoContext* context = nullptr;   // draws and measures text
    PangoContext* unhinted = nullptr;  // gives a font's vertical metrics
    std::map<FontKey, FontEntry> fonts;

    ~FontBook()
    {
        for (auto& [key, entry] : fonts) {
            pango_font_description_free(entry.description);
            pango_attr_list_unref(entry.attributes);
        }
        if (context != nullptr) g_object_unref(context);
        if (unhinted != nullptr) g_object_unref(unhinted);
    }

    FontEntry& Font(const FontSpec& asked)
    {
        std::int32_t size = asked.size;
        if (size < 1 || size > 72) size = 8;
        FontKey key{asked.face, size, asked.style};
        if (const auto found = fonts.find(key); found != fonts.end()) return found->second;

        FontEntry entry;
        entry.description = pango_font_description_new();
        pango_font_description_set_family(entry.description, FamiliesFor(asked.face).c_str());
        // The size is the em in whole pixels, truncated, as the Windows shell asks
        // for its fonts: the rows of the board are laid out from these metrics.
        pango_font_description_set_absolute_size(entry.description, (kPixelsPerInch * size / 72) * PANGO_SCALE);
        pango_font_description_set_weight(entry.description,
                                          (asked.style & 1) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(entry.description, (asked.style & 2) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        entry.attributes = pango_attr_list_new();
        if (asked.style & 4) pango_attr_list_insert(entry.attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (asked.style & 8) pango_attr_list_insert(entry.attributes, pango_attr_strikethrough_new(TRUE));

        // A line is as high as GDI makes a font's cell: the ascent and the descent
        // of the face's design, each rounded to whole pixels (FreeMono at 32
        // pixels: 26 + 6). Hinted metrics would round both up, and the fourteen
        // rows would no longer leave room for the help text. Every text is
        // measured that high, and its baseline lies that far below its top.
        PangoFontMetrics* design = pango_context_get_metrics(unhinted, entry.description, nullptr);
        constexpr double kScale = PANGO_SCALE;
        entry.ascent = RoundHalfEven(pango_font_metrics_get_ascent(design) / kScale);
        entry.cell.lineHeight = entry.ascent + RoundHalfEven(pango_font_metrics_get_descent(design) / kScale);
        pango_font_metrics_unref(design);
        return fonts.emplace(std::move(key), entry).first->second;
    }

    // A font with its cell's width, which only the fields' fixed-pitch face is asked
    // for: it is worked out the first time (shaping a sample text, a millisecond or
    // so of the start-up for each font).
    const FontEntry& FontWithWidth(const FontSpec& asked)
    {
        FontEntry& entry = Font(asked);
        if (entry.cell.charWidth == 0) {
            PangoFontMetrics* metrics = pango_context_get_metrics(context, entry.description, nullptr);
            entry.cell.charWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics));
            pango_font_metrics_unref(metrics);
        }
        return entry;
    }

    PangoLayout* Layout(const FontEntry& font, const std::string& text)
    {
        PangoLayout* layout = pango_layout_new(context);
        pango_layout_set_font_description(layout, font.description);
        pango_layout_set_attributes(layout, font.attributes);
        const std::string drawn = DrawnText(text);
        pango_layout_set_text(layout, drawn.data(), static_cast<int>(std::min<std::size_t>(drawn.size(), INT_MAX)));
        return layout;
    }

    PixelSize Measure(const FontEntry& font, const std::string& text)
    {
        PangoLayout* layout = Layout(font, text);
        PangoRectangle logical{};
        pango_layout_get_pixel_extents(layout, nullptr, &logical);
        g_object_unref(layout);
        return {logical.width, font.cell.lineHeight};
    }
};

void FreeFontBook(FontBook* book) { delete book; }

FontBookOwner NewFontBook()
{
    FontBookOwner book(new FontBook);
    book->context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    pango_cairo_context_set_resolution(book->context, kPixelsPerInch);
    book->unhinted = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* design = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(design, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(book->unhinted, design);
    cairo_font_options_destroy(design);
    // Whole-pixel advances: a fixed-pitch face then steps exactly its measured
    // width per character, and the notes printed one by one land on their digits.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(book->context, options);
    cairo_font_options_destroy(options);
    return book;
}

std::string Utf8FromLatin1(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

TextMeasure MeasureWith(FontBook& fonts)
{
    TextMeasure measure;
    measure.text = [&fonts](const FontSpec& asked, const std::string& text) {
        return fonts.Measure(fonts.Font(asked), text);
    };
    measure.cell = [&fonts](const FontSpec& asked) { return fonts.FontWithWidth(asked).cell; };
    return measure;
}

std::string FamiliesFor(const std::string& face)
{
    const std::string lowered = Lowered(face);
    if (lowered == "times new roman") return face + ",Liberation Serif";
    if (lowered == "lucida console") return face + ",FreeMono";
    if (lowered == "ocr-b 10 bt") return face + ",OCR B";
    return face;
}

std::string ImagePath(const std::string& fileName)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (fileName.empty()) return {};
    if (fs::exists(fileName, error)) return fileName;
    if (fs::path(fileName).is_absolute()) return {};
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const fs::path folder = program.parent_path();
    for (const fs::path& candidate : {folder / ".." / "share" / "indovina" / fileName, folder / fileName}) {
        if (fs::exists(candidate, error)) return candidate.string();
    }
    return {};
}

namespace {

// A surface keeps its position, ink, text background and font from one picture
// to the next, as a device context does.
struct Surface {
    cairo_surface_t* image = nullptr;
    FontBook* fonts = nullptr;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
    Colour ink = 0;
    bool solidBack = true;
    Colour back = 0xFFFFFF;
    const FontEntry* font = nullptr;
    Colour sampled = 0;
    std::string name;
    // What names the widget while its pictures are named silently, and before its
    // first name: a label never shown nor put in a window (see PlayPicture).
    GtkWidget* quietName = nullptr;
    bool ownLabel = false;  // the widget is named by its own label instead

    ~Surface()
    {
        cairo_surface_destroy(image);
        g_object_unref(quietName);
    }

    std::uint32_t* Row(int row)
    {
        const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(row) * cairo_image_surface_get_stride(image);
        return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(image) + offset);
    }
    bool Inside(int px, int py) const { return px >= 0 && py >= 0 && px < width && py < height; }
};

Surface* SurfaceOf(GtkWidget* widget)
{
    return widget != nullptr ? static_cast<Surface*>(g_object_get_data(G_OBJECT(widget), kSurfaceKey)) : nullptr;
}

void FillRectangle(cairo_t* cr, int left, int top, int width, int height, Colour colour)
{
    if (width <= 0 || height <= 0) return;
    SetSource(cr, colour);
    cairo_rectangle(cr, left, top, width, height);
    cairo_fill(cr);
}

void RoundedPath(cairo_t* cr, double left, double top, double width, double height, double radius)
{
    radius = std::min({radius, width / 2, height / 2});
    cairo_new_path(cr);
    cairo_arc(cr, left + width - radius, top + radius, radius, -G_PI / 2, 0);
    cairo_arc(cr, left + width - radius, top + height - radius, radius, 0, G_PI / 2);
    cairo_arc(cr, left + radius, top + height - radius, radius, G_PI / 2, G_PI);
    cairo_arc(cr, left + radius, top + radius, radius, G_PI, 3 * G_PI / 2);
    cairo_close_path(cr);
}

// The border one pixel wide inside the rectangle, the fill within it; the right
// and bottom edges are left out, as GDI's RoundRect leaves them.
void DrawBox(cairo_t* cr, const DrawOp& op)
{
    const auto [left, top, right, bottom] = BoxPixels(op);
    const int width = right - left;
    const int height = bottom - top;
    const int curve = std::min(width, height) * std::clamp<int>(op.size, 0, 100) / 100;
    if (curve <= 1) {
        FillRectangle(cr, left, top, width, height, op.colour);
        FillRectangle(cr, left + 1, top + 1, width - 2, height - 2, op.fill);
        return;
    }
    RoundedPath(cr, left, top, width, height, curve / 2.0);
    SetSource(cr, op.colour);
    cairo_fill(cr);
    if (width <= 2 || height <= 2) return;
    RoundedPath(cr, left + 1, top + 1, width - 2, height - 2, curve / 2.0 - 1);
    SetSource(cr, op.fill);
    cairo_fill(cr);
}

void Print(Surface& s, cairo_t* cr, const std::string& text)
{
    if (text.empty()) return;
    PangoLayout* layout = s.fonts->Layout(*s.font, text);
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    if (s.solidBack) FillRectangle(cr, s.x, s.y, logical.width, s.font->cell.lineHeight, s.back);
    SetSource(cr, s.ink);
    cairo_move_to(cr, s.x, s.y + s.font->ascent - pango_layout_get_baseline(layout) / PANGO_SCALE);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    s.x += logical.width;
}

// The image, stretched to (left, top)..(left + width - 1, top + height - 1) by
// taking for each pixel the nearest pixel of the file, so that its background
// stays one colour for the fill that follows. Only the part on the surface is
// computed, however large the rectangle.
void DrawImageFile(Surface& s, const DrawOp& op)
{
    const std::int64_t left = PixelOf(op.x);
    const std::int64_t top = PixelOf(op.y);
    const std::int64_t width = PixelOf(op.x2) - left + 1;
    const std::int64_t height = PixelOf(op.y2) - top + 1;
    if (width < 1 || height < 1) return;
    const std::string path = ImagePath(op.text);
    if (path.empty()) return;
    GError* error = nullptr;
    GdkPixbuf* image = gdk_pixbuf_new_from_file(path.c_str(), &error);
    if (image == nullptr) {
        g_clear_error(&error);
        return;
    }
    const int imageWidth = gdk_pixbuf_get_width(image);
    const int imageHeight = gdk_pixbuf_get_height(image);
    const int channels = gdk_pixbuf_get_n_channels(image);
    const int stride = gdk_pixbuf_get_rowstride(image);
    const guchar* pixels = gdk_pixbuf_read_pixels(image);
    cairo_surface_flush(s.image);
    const std::int64_t firstRow = std::max<std::int64_t>(top, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(top + height, s.height);
    const std::int64_t firstColumn = std::max<std::int64_t>(left, 0);
    const std::int64_t lastColumn = std::min<std::int64_t>(left + width, s.width);
    for (std::int64_t y = firstRow; y < lastRow; ++y) {
        const std::int64_t sourceY = (y - top) * imageHeight / height;
        std::uint32_t* row = s.Row(static_cast<int>(y));
        for (std::int64_t x = firstColumn; x < lastColumn; ++x) {
            const std::int64_t sourceX = (x - left) * imageWidth / width;
            const guchar* p = pixels + sourceY * stride + sourceX * channels;
            row[x] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        }
    }
    cairo_surface_mark_dirty(s.image);
    g_object_unref(image);
}

Colour ReadPixel(Surface& s, int x, int y)
{
    if (!s.Inside(x, y)) return 0xFFFFFFFFu;
    cairo_surface_flush(s.image);
    return ColourFrom(s.Row(y)[x]);
}

// ExtFloodFill with FLOODFILLSURFACE: the area of the colour at (x, y), joined
// through its four neighbours, takes the colour remembered by SampleColour.
void FillLike(Surface& s, int x, int y)
{
    const std::uint32_t fill = PixelFrom(s.sampled & 0xFFFFFFu);
    if (!s.Inside(x, y)) return;
    cairo_surface_flush(s.image);
    const std::uint32_t area = s.Row(y)[x] & 0xFFFFFFu;
    if (area == fill) return;
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        if (!s.Inside(px, py) || (s.Row(py)[px] & 0xFFFFFFu) != area) continue;
        s.Row(py)[px] = fill;
        pending.insert(pending.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    cairo_surface_mark_dirty(s.image);
}

void Play(Surface& s, cairo_t* cr, const DrawOp& op)
{
    switch (op.kind) {
    case DrawOpKind::Clear:
        FillRectangle(cr, 0, 0, s.width, s.height, op.colour);
        s.x = 0;
        s.y = 0;
        break;
    case DrawOpKind::Box: DrawBox(cr, op); break;
    case DrawOpKind::SetFont: s.font = &s.fonts->Font({op.text, op.size, op.style}); break;
    case DrawOpKind::SetInk: s.ink = op.colour; break;
    case DrawOpKind::SetBackTransparent: s.solidBack = false; break;
    case DrawOpKind::SetBackSolid:
        s.solidBack = true;
        s.back = op.colour;
        break;
    case DrawOpKind::MoveTo:
        s.x = PixelOf(op.x);
        s.y = PixelOf(op.y);
        break;
    case DrawOpKind::Print: Print(s, cr, op.text); break;
    case DrawOpKind::NewLine:
        s.x = 0;
        s.y = PixelOf(static_cast<double>(s.y) + s.font->cell.lineHeight);
        break;
    // The operations below work on the pixels themselves: what cairo has drawn so
    // far is flushed into them first, and cairo is told of the change after.
    case DrawOpKind::Image: DrawImageFile(s, op); break;
    case DrawOpKind::SampleColour: s.sampled = ReadPixel(s, PixelOf(op.x), PixelOf(op.y)); break;
    case DrawOpKind::FillLike: FillLike(s, PixelOf(op.x), PixelOf(op.y)); break;
    }
}

void DrawSurface(GtkDrawingArea* area, cairo_t* cr, int /*width*/, int /*height*/, gpointer /*data*/)
{
    Surface* s = SurfaceOf(GTK_WIDGET(area));
    if (s == nullptr) return;
    cairo_set_source_surface(cr, s->image, 0, 0);
    cairo_paint(cr);
}

}  // namespace

GtkWidget* CreateSurface(int width, int height, int shownWidth, int shownHeight, FontBook& fonts)
{
    GtkWidget* area = gtk_drawing_area_new();
    auto* s = new Surface;
    s->fonts = &fonts;
    s->width = std::max(width, 1);
    s->height = std::max(height, 1);
    s->image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s->width, s->height);
    s->font = &fonts.Font({"", 12, 0});
    cairo_t* cr = cairo_create(s->image);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    FillRectangle(cr, 0, 0, s->width, s->height, kButtonFace);
    cairo_destroy(cr);
    g_object_set_data_full(G_OBJECT(area), kSurfaceKey, s, [](gpointer data) { delete static_cast<Surface*>(data); });
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(area), std::max(shownWidth, 1));
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(area), std::max(shownHeight, 1));
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(area), DrawSurface, nullptr, nullptr);
    // Named from the start, if only with nothing: a screen reader would otherwise
    // be given the widget's type name. The quiet label's name is its accessible
    // label, not its text: an empty text would give its type name too.
    s->quietName = GTK_WIDGET(g_object_ref_sink(gtk_label_new(nullptr)));
    gtk_accessible_update_property(GTK_ACCESSIBLE(s->quietName), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
    gtk_accessible_update_relation(GTK_ACCESSIBLE(area), GTK_ACCESSIBLE_RELATION_LABELLED_BY, s->quietName, nullptr,
                                   -1);
    return area;
}

PixelSize SurfaceSize(GtkWidget* surface)
{
    const Surface* s = SurfaceOf(surface);
    return s != nullptr ? PixelSize{s->width, s->height} : PixelSize{};
}

void PlayPicture(GtkWidget* surface, const Picture& picture)
{
    Surface* s = SurfaceOf(surface);
    if (s == nullptr) return;
    cairo_t* cr = cairo_create(s->image);
    // Boxes and fills are whole pixels, as GDI draws them; only text is smoothed.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (const DrawOp& op : picture.ops) Play(*s, cr, op);
    cairo_destroy(cr);
    cairo_surface_flush(s->image);
    // GTK tells a reader at once of every change of a widget's own label, and of
    // none of the label that names it, which it reads only when a reader asks (a
    // label in no window tells nothing itself). So a name to be told becomes the
    // widget's own label, and one named silently (the clocks, ten times a second)
    // goes into quietName. Each way drops the other first, or the two would be
    // read joined; turning silent is heard once, as the own label goes. A name
    // equal to the one the widget has is not set again.
    const bool changed = picture.name != s->name;
    s->name = picture.name;
    const std::string name = Utf8FromLatin1(picture.name);
    if (picture.nameEvent == NameEvent::Silent) {
        gtk_accessible_update_property(GTK_ACCESSIBLE(s->quietName), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(), -1);
        if (s->ownLabel) {
            s->ownLabel = false;
            gtk_accessible_update_relation(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_RELATION_LABELLED_BY, s->quietName,
                                           nullptr, -1);
            gtk_accessible_reset_property(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_PROPERTY_LABEL);
        }
    } else if (changed) {
        if (!s->ownLabel) gtk_accessible_reset_relation(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_RELATION_LABELLED_BY);
        s->ownLabel = true;
        gtk_accessible_update_property(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(), -1);
    }
    gtk_widget_queue_draw(surface);
}

std::string SurfaceName(GtkWidget* surface)
{
    const Surface* s = SurfaceOf(surface);
    return s != nullptr ? s->name : std::string{};
}

Colour SurfacePixel(GtkWidget* surface, int x, int y)
{
    Surface* s = SurfaceOf(surface);
    return s != nullptr ? ReadPixel(*s, x, y) : 0xFFFFFFFFu;
}
