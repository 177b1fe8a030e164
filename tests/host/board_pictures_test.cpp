// The information panels: where their texts stand, and which of their names are told.
#include <gtest/gtest.h>

#include <sstream>

#include "render/board_pictures.h"

namespace {

using std::tuple;

// A picture's boxes ("box 0,0-9,9") and texts at their places ("50,2 text"), "|"
// between them.
std::string Describe(const Picture& picture)
{
    std::ostringstream out;
    double x = 0, y = 0;
    for (const DrawOp& op : picture.ops) {
        if (op.kind == DrawOpKind::MoveTo) std::tie(x, y) = std::pair(op.x, op.y);
        if (op.kind == DrawOpKind::Box) out << "|box " << op.x << ',' << op.y << '-' << op.x2 << ',' << op.y2;
        if (op.kind == DrawOpKind::Print) out << '|' << x << ',' << y << ' ' << op.text;
    }
    return out.str().substr(1);
}

}  // namespace

TEST(BoardPictures, InfoPanelTextsAreCentredInTheirHalvesAndTheClocksNamedSilently)
{
    // Every character 8 pixels wide, and a text as high as 6 pixels plus its length.
    const TextMeasure measure{
        [](const FontSpec&, const std::string& t) { return PixelSize{8 * int(t.size()), 6 + int(t.size())}; }, {}};
    const tuple<int, PixelSize, const char*, const char*, const char*, NameEvent> cases[] = {
        {kDigitPanel, {180, 40}, "03-05-2026", "0-2---6789",
         "box 0,0-180,20|50,2 03-05-2026|box 0,20-180,40|50,22 0-2---6789", NameEvent::WhenChanged},
        {kClockPanel, {130, 40}, " 10:20:30 ", "input # 3",
         "box 0,0-130,20|25,2  10:20:30 |box 0,20-130,40|29,22.5 input # 3", NameEvent::Silent},
        {kElapsedPanel, {136, 41}, "12.3 s", "secondi",
         "box 0,0-136,20.5|44,4.25 12.3 s|box 0,20.5-136,41|40,24.25 secondi", NameEvent::Silent},
        // Wider and taller than the panel: it overflows both sides alike.
        {kDigitPanel, {40, 20}, "03-05-2026", "x", "box 0,0-40,10|-20,-3 03-05-2026|box 0,10-40,20|16,11.5 x",
         NameEvent::WhenChanged}};
    for (const auto& [id, size, top, bottom, ops, event] : cases) {
        const Picture picture = InfoPanelPicture(id, top, bottom, size, measure);
        EXPECT_EQ(tuple(Describe(picture), picture.nameEvent), tuple(ops, event));
    }
}
