// The board's panels: where their texts stand, and which of their names are told.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "render/board_layout.h"
#include "render/board_pictures.h"

void PrintTo(NameEvent e, std::ostream* out)
{
    *out << (e == NameEvent::Silent ? "Silent" : e == NameEvent::Always ? "Always" : "WhenChanged");
}

namespace {

using std::tuple;

// A picture's boxes ("box 0,0-9,9"), images ("q.bmp 0,0-25,25"), colour samples and
// fills ("sample", "fill 25,0") and texts at their places ("50,2 text"), "|" between them.
std::string Describe(const Picture& picture)
{
    std::ostringstream out;
    double x = 0, y = 0;
    for (const DrawOp& op : picture.ops) {
        if (op.kind == DrawOpKind::MoveTo) std::tie(x, y) = std::pair(op.x, op.y);
        if (op.kind == DrawOpKind::Box || op.kind == DrawOpKind::Image) {
            out << '|' << (op.kind == DrawOpKind::Box ? "box" : op.text) << ' ' << op.x << ',' << op.y << '-' << op.x2
                << ',' << op.y2;
        }
        if (op.kind == DrawOpKind::SampleColour) out << "|sample";
        if (op.kind == DrawOpKind::FillLike) out << "|fill " << op.x << ',' << op.y;
        if (op.kind == DrawOpKind::Print && !op.text.empty()) {
            out << '|' << x << ',' << y << ' ' << op.text;
        }
    }
    return out.str().substr(1);
}

}  // namespace

TEST(BoardPictures, TextPanelsHaveTheirLinesOnePitchApart)
{
    // A text as high as 10 pixels plus its characters: the pitch shows which line set it.
    const TextMeasure measure{[](const FontSpec&, const std::string& t) { return PixelSize{7, 10 + int(t.size())}; },
                              {}};
    const tuple<const char*, const char*, const char*> cases[] = {
        {"ab\r\nlonger\r\nc", "", "box 0,0-120,40|0,0 ab|0,16 longer|0,32 c"},
        {"ab\r\ncd\r\n", "", "box 0,0-120,40|0,0 ab|0,12 cd"}};
    for (const auto& [text, note, ops] : cases) {
        TextPanel panel;  // member by member: GCC 12 warns falsely on the nested braces
        panel.text = text;
        panel.font = FontSpec{kLabelFace, 16, 0};
        panel.ink = 0x123456;
        panel.back = 0x654321;
        panel.note = note;
        EXPECT_EQ(Describe(TextPanelPicture(panel, {120, 40}, measure)), ops);
    }
    std::uint32_t random = 0;
    const GameState game = InitGame(random, {});
    EXPECT_EQ(RowLabelPicture(game, 3, {120, 20}, measure).name, "Tentativo 03");
    const auto help = [&](int attempt) { return HelpPanelPicture(game, attempt, {820, 65}, measure); };
    EXPECT_EQ(tuple(help(0).has_value(), help(15).has_value(), help(14).value().name),
              tuple(false, false, std::string(kHelpSentence1) + " " + kHelpSentence2 + " " + kHelpSentence3));
}

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
