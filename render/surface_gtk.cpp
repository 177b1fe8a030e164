#include "render/surface_gtk.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "base/rounding.h"

namespace {

constexpr int kPixelsPerInch = 96;
// What a surface shows before its first picture, as a Windows control shows the
// button face.
constexpr Colour kButtonFace = 0xC8D0D4;
constexpr const char* kSurfaceKey = "indovina-surface";

// Cairo's RGB24 pixel (0x00RRGGBB) from the program's colour (0x00BBGGRR), and back.
std::uint32_t Swapped(std::uint32_t c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }

void SetSource(cairo_t* cr, Colour c)
{
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c >> 16 & 0xFF) / 255.0);
}

// The face itself first, then the free face that stands in for it on Debian, as
// the Wine set-up maps them.
std::string FamiliesFor(const std::string& face)
{
    for (const auto& [asked, standIn] : {std::pair{"Times New Roman", "Liberation Serif"},
                                         std::pair{"Lucida console", "FreeMono"}, std::pair{"OCR-B 10 BT", "OCR B"}}) {
        if (g_ascii_strcasecmp(face.c_str(), asked) == 0) return face + "," + standIn;
    }
    return face;
}

PlayedFont& FontOf(SurfaceKit& kit, const FontSpec& asked)
{
    const std::int32_t size = PlayedFontSize(asked.size);
    const auto [entry, made] = kit.fonts.try_emplace({asked.face, size, asked.style});
    PlayedFont& font = entry->second;
    if (!made) return font;
    font.description = pango_font_description_new();
    pango_font_description_set_family(font.description, FamiliesFor(asked.face).c_str());
    // The em in whole pixels, as the Windows shell asks for its fonts: the rows of
    // the board are laid out from these metrics.
    pango_font_description_set_absolute_size(font.description, EmPixels(size, kPixelsPerInch) * PANGO_SCALE);
    pango_font_description_set_weight(font.description, (asked.style & 1) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(font.description, (asked.style & 2) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    font.attributes = pango_attr_list_new();
    if (asked.style & 4) pango_attr_list_insert(font.attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (asked.style & 8) pango_attr_list_insert(font.attributes, pango_attr_strikethrough_new(TRUE));
    // A line is as high as GDI makes a font's cell: the ascent and the descent of
    // the face's design, each rounded to whole pixels (FreeMono at 32 pixels: 26 +
    // 6). Hinted metrics would round both up, and the fourteen rows would no longer
    // leave room for the help text.
    PangoFontMetrics* design = pango_context_get_metrics(kit.unhinted, font.description, nullptr);
    font.ascent = RoundHalfEven(pango_font_metrics_get_ascent(design) / double{PANGO_SCALE});
    font.cell.lineHeight = font.ascent + RoundHalfEven(pango_font_metrics_get_descent(design) / double{PANGO_SCALE});
    pango_font_metrics_unref(design);
    return font;
}

// A font's cell width is only asked for the fields' fixed-pitch face: it is worked
// out the first time (shaping a sample text, a millisecond or so for each font).
FontCell CellOf(SurfaceKit& kit, const FontSpec& asked)
{
    PlayedFont& font = FontOf(kit, asked);
    if (font.cell.charWidth != 0) return font.cell;
    PangoFontMetrics* metrics = pango_context_get_metrics(kit.context, font.description, nullptr);
    font.cell.charWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics));
    pango_font_metrics_unref(metrics);
    return font.cell;
}

// Control characters, which GDI shows as nothing in a cell, are laid out as blanks
// so that they keep their width in the fixed-pitch fields.
PangoLayout* LayoutOf(SurfaceKit& kit, const PlayedFont& font, const std::string& text, PangoRectangle& logical)
{
    std::string shown = text;
    std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    const std::string drawn = Utf8FromLatin1(shown);
    PangoLayout* layout = pango_layout_new(kit.context);
    pango_layout_set_font_description(layout, font.description);
    pango_layout_set_attributes(layout, font.attributes);
    pango_layout_set_text(layout, drawn.data(), static_cast<int>(std::min<std::size_t>(drawn.size(), INT_MAX)));
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return layout;
}

// A surface keeps its position, ink, text background and font from one picture
// to the next, as a device context does.
struct Surface {
    cairo_surface_t* image = nullptr;
    SurfaceKit* kit = nullptr;
    int width = 0, height = 0;
    int x = 0, y = 0;  // where the next text goes
    Colour ink = 0, back = 0xFFFFFF, sampled = 0;
    bool solidBack = true;
    const PlayedFont* font = nullptr;
    std::string name;
    // What names the widget while its pictures are named silently, and before its
    // first name: a label never shown nor put in a window (see NameSurface).
    GtkWidget* quietName = nullptr;
    bool ownLabel = false;  // the widget is named by its own label instead

    ~Surface() { cairo_surface_destroy(image), g_object_unref(quietName); }
    // The pixels themselves: what cairo has drawn so far is flushed into them
    // first, and cairo is told of the change after (cairo_surface_mark_dirty).
    std::uint32_t& Pixel(int px, int py)
    {
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(py) * cairo_image_surface_get_stride(image);
        return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(image) + row)[px];
    }
    bool Inside(int px, int py) const { return px >= 0 && py >= 0 && px < width && py < height; }
};

Surface* SurfaceOf(GtkWidget* w) { return static_cast<Surface*>(g_object_get_data(G_OBJECT(w), kSurfaceKey)); }

void FillRectangle(cairo_t* cr, int left, int top, int width, int height, Colour colour)
{
    SetSource(cr, colour);
    cairo_rectangle(cr, left, top, std::max(width, 0), std::max(height, 0));
    cairo_fill(cr);
}

// A box's border one pixel wide inside its rectangle, its fill within; the right
// and bottom edges are left out, as GDI's RoundRect leaves them.
void DrawBox(cairo_t* cr, const DrawOp& op)
{
    const PixelBox box = BoxPixels(op);
    const int curve = std::min(box.right - box.left, box.bottom - box.top) * std::clamp<int>(op.size, 0, 100) / 100;
    for (const int inset : {0, 1}) {
        const double left = box.left + inset, top = box.top + inset;
        const double right = box.right - inset, bottom = box.bottom - inset;
        const double radius = std::min({curve > 1 ? curve / 2.0 - inset : 0.0, (right - left) / 2, (bottom - top) / 2});
        if (right <= left || bottom <= top) return;
        cairo_new_path(cr);
        cairo_arc(cr, right - radius, top + radius, radius, -G_PI / 2, 0);
        cairo_arc(cr, right - radius, bottom - radius, radius, 0, G_PI / 2);
        cairo_arc(cr, left + radius, bottom - radius, radius, G_PI / 2, G_PI);
        cairo_arc(cr, left + radius, top + radius, radius, G_PI, 3 * G_PI / 2);
        SetSource(cr, inset == 0 ? op.colour : op.fill);
        cairo_fill(cr);
    }
}

void Print(Surface& s, cairo_t* cr, const std::string& text)
{
    if (text.empty()) return;
    PangoRectangle logical{};
    PangoLayout* layout = LayoutOf(*s.kit, *s.font, text, logical);
    if (s.solidBack) FillRectangle(cr, s.x, s.y, logical.width, s.font->cell.lineHeight, s.back);
    SetSource(cr, s.ink);
    cairo_move_to(cr, s.x, s.y + s.font->ascent - pango_layout_get_baseline(layout) / PANGO_SCALE);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    s.x += logical.width;
}

// The image stretched to the rectangle, nearest pixel, so that its background
// stays one colour for the fill that follows; a file that is not a bitmap draws
// nothing, as on Windows.
void DrawImage(Surface& s, const DrawOp& op)
{
    const ImageRect rect = ImagePixels(op);
    const RgbImage* image = s.kit->images.Find(op.text);
    if (image == nullptr || rect.width < 1 || rect.height < 1) return;
    const RgbImage stretched = Stretched(*image, rect.width, rect.height);
    for (int y = std::max(0, -rect.top); y < rect.height && rect.top + y < s.height; ++y) {
        for (int x = std::max(0, -rect.left); x < rect.width && rect.left + x < s.width; ++x) {
            s.Pixel(rect.left + x, rect.top + y) = Swapped(stretched.At(x, y));
        }
    }
}

// ExtFloodFill with FLOODFILLSURFACE: the area of the colour at (x, y), joined
// through its four neighbours, takes the colour remembered by SampleColour.
void FillLike(Surface& s, int x, int y)
{
    const std::uint32_t fill = Swapped(s.sampled & 0xFFFFFFu);
    if (!s.Inside(x, y) || (s.Pixel(x, y) & 0xFFFFFFu) == fill) return;
    const std::uint32_t area = s.Pixel(x, y) & 0xFFFFFFu;
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        const auto [px, py] = pending.back();
        pending.pop_back();
        if (!s.Inside(px, py) || (s.Pixel(px, py) & 0xFFFFFFu) != area) continue;
        s.Pixel(px, py) = fill;
        pending.insert(pending.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
}

void PlayOnPixels(Surface& s, const DrawOp& op)
{
    cairo_surface_flush(s.image);
    if (op.kind == DrawOpKind::Image) DrawImage(s, op);
    const int x = PixelOf(op.x), y = PixelOf(op.y);
    if (op.kind == DrawOpKind::SampleColour) s.sampled = s.Inside(x, y) ? Swapped(s.Pixel(x, y) & 0xFFFFFFu) : ~0u;
    if (op.kind == DrawOpKind::FillLike) FillLike(s, x, y);
    cairo_surface_mark_dirty(s.image);
}

void Play(Surface& s, cairo_t* cr, const DrawOp& op)
{
    switch (op.kind) {
    case DrawOpKind::Clear:
        FillRectangle(cr, 0, 0, s.width, s.height, op.colour);
        s.x = s.y = 0;
        break;
    case DrawOpKind::Box: DrawBox(cr, op); break;
    case DrawOpKind::SetFont: s.font = &FontOf(*s.kit, {op.text, op.size, op.style}); break;
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
    case DrawOpKind::Image:
    case DrawOpKind::SampleColour:
    case DrawOpKind::FillLike: PlayOnPixels(s, op); break;
    }
}

// GTK tells a reader at once of every change of a widget's own label, and of none
// of the label that names it, which it reads only when a reader asks (a label in
// no window tells nothing itself). So a name to be told becomes the widget's own
// label, and one named silently (the clocks, ten times a second) goes into
// quietName. Each way drops the other first, or the two would be read joined;
// turning silent is heard once, as the own label goes.
void NameSurface(GtkWidget* surface, Surface& s, const Picture& picture)
{
    const bool told = picture.nameEvent == NameEvent::Always || picture.name != s.name;
    s.name = picture.name;
    const std::string name = Utf8FromLatin1(picture.name);
    if (picture.nameEvent == NameEvent::Silent) {
        gtk_accessible_update_property(GTK_ACCESSIBLE(s.quietName), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(), -1);
        if (!s.ownLabel) return;
        s.ownLabel = false;
        gtk_accessible_update_relation(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_RELATION_LABELLED_BY, s.quietName,
                                       nullptr, -1);
        gtk_accessible_reset_property(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_PROPERTY_LABEL);
    } else if (told) {
        if (!s.ownLabel) gtk_accessible_reset_relation(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_RELATION_LABELLED_BY);
        s.ownLabel = true;
        gtk_accessible_update_property(GTK_ACCESSIBLE(surface), GTK_ACCESSIBLE_PROPERTY_LABEL, name.c_str(), -1);
    }
}

}  // namespace

// Text is measured and drawn with whole-pixel advances: a fixed-pitch face then
// steps exactly its measured width per character, and the notes printed one by
// one land on their digits. A font's vertical metrics come from its design.
SurfaceKit::SurfaceKit()
{
    for (PangoContext** made : {&context, &unhinted}) {
        *made = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_resolution(*made, kPixelsPerInch);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, made == &context ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(*made, options);
        cairo_font_options_destroy(options);
    }
}

SurfaceKit::~SurfaceKit()
{
    for (auto& [key, font] : fonts) {
        pango_font_description_free(font.description);
        pango_attr_list_unref(font.attributes);
    }
    g_object_unref(context);
    g_object_unref(unhinted);
}

TextMeasure MeasureWith(SurfaceKit& kit)
{
    TextMeasure measure;
    measure.text = [&kit](const FontSpec& asked, const std::string& text) {
        const PlayedFont& font = FontOf(kit, asked);
        PangoRectangle logical{};
        g_object_unref(LayoutOf(kit, font, text, logical));
        // Every text is as high as its font's cell.
        return PixelSize{logical.width, font.cell.lineHeight};
    };
    measure.cell = [&kit](const FontSpec& asked) { return CellOf(kit, asked); };
    return measure;
}

std::string Utf8FromLatin1(const std::string& text)
{
    g_autofree gchar* utf8 = g_convert(text.data(), gssize(text.size()), "UTF-8", "ISO-8859-1", nullptr, nullptr, 0);
    return utf8 != nullptr ? utf8 : "";
}

GtkWidget* CreateSurface(int width, int height, int shownWidth, int shownHeight, SurfaceKit& kit)
{
    GtkWidget* area = gtk_drawing_area_new();
    auto* s = new Surface;
    s->kit = &kit;
    s->width = std::max(width, 1);
    s->height = std::max(height, 1);
    s->image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s->width, s->height);
    s->font = &FontOf(kit, {"", 12, 0});
    g_object_set_data_full(G_OBJECT(area), kSurfaceKey, s, [](gpointer data) { delete static_cast<Surface*>(data); });
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(area), std::max(shownWidth, 1));
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(area), std::max(shownHeight, 1));
    gtk_drawing_area_set_draw_func(
        GTK_DRAWING_AREA(area),
        [](GtkDrawingArea*, cairo_t* shown, int, int, gpointer image) {
            cairo_set_source_surface(shown, static_cast<cairo_surface_t*>(image), 0, 0);
            cairo_paint(shown);
        },
        s->image, nullptr);
    // Named from the start, if only with nothing: a screen reader would otherwise
    // be given the widget's type name. The quiet label's name is its accessible
    // label, not its text: an empty text would give its type name too.
    s->quietName = GTK_WIDGET(g_object_ref_sink(gtk_label_new(nullptr)));
    gtk_accessible_update_relation(GTK_ACCESSIBLE(area), GTK_ACCESSIBLE_RELATION_LABELLED_BY, s->quietName, nullptr,
                                   -1);
    PlayPicture(area, Picture{{ClearOp(kButtonFace)}, "", NameEvent::Silent});
    return area;
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
    NameSurface(surface, *s, picture);
    gtk_widget_queue_draw(surface);
}

Colour SurfacePixel(GtkWidget* surface, int x, int y)
{
    Surface* s = SurfaceOf(surface);
    if (s == nullptr || !s->Inside(x, y)) return 0xFFFFFFFFu;
    cairo_surface_flush(s->image);
    return Swapped(s->Pixel(x, y) & 0xFFFFFFu);
}
