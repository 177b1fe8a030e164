// The faces the game asks for by name, and the board they give. Under Wine the
// project's prefixes map each name to a free face (scripts/lib/wine.sh); the row
// face must have Lucida Console's cell, or the last rows and the help text fall
// below the window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"
#include "render/panels_win.h"

namespace {

bool UnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

struct Face {
    std::string face;    // the full name of the face the font mapper chose
    int lineHeight = 0;  // height plus external leading, as the board measures a row
    int averageWidth = 0;
    int height = 0;      // the text height a line of a text panel takes
    bool fixedPitch = false;
};

int PixelHeight(int points)
{
    std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc(CreateCompatibleDC(nullptr));
    return -(GetDeviceCaps(dc.get(), LOGPIXELSY) * points / 72);
}

// The font that a request by name and size gives, measured as the game measures it.
Face Measure(const char* name, int points)
{
    std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc(CreateCompatibleDC(nullptr));
    LOGFONTA request{};
    request.lfHeight = PixelHeight(points);
    request.lfWeight = FW_NORMAL;
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, name, LF_FACESIZE);
    std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter> font(CreateFontIndirectA(&request));
    const HGDIOBJ previous = SelectObject(dc.get(), font.get());

    Face face;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    face.lineHeight = tm.tmHeight + tm.tmExternalLeading;
    face.height = tm.tmHeight;
    face.averageWidth = tm.tmAveCharWidth;
    // The bit is named the other way round: set means variable pitch.
    face.fixedPitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    // GetTextFaceA gives back the name asked for, and so does the family name of
    // a face that Wine's Replacements key stands in with. The face name of the
    // outline metrics is the font's own full name.
    const UINT size = GetOutlineTextMetricsA(dc.get(), 0, nullptr);
    if (size >= sizeof(OUTLINETEXTMETRICA)) {
        std::vector<char> buffer(size);
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
        if (GetOutlineTextMetricsA(dc.get(), size, outline) != 0) {
            face.face = buffer.data() + reinterpret_cast<UINT_PTR>(outline->otmpFaceName);
        }
    }
    SelectObject(dc.get(), previous);
    return face;
}

RECT ClientRect()
{
    RECT client{};
    GetClientRect(mainWindow, &client);
    return client;
}

RECT BoxInClient(int controlId)
{
    RECT r{};
    GetWindowRect(GetDlgItem(mainWindow, controlId), &r);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Whether the screen shows help ink anywhere in a band of the help panel.
bool HelpInkShown(int top, int bottom)
{
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (ScreenPixel(kHelpPanel, x, y) == helpInkColour) return true;
        }
    }
    return false;
}

}  // namespace

TEST(Fonts, EachFaceTheGameAsksForGetsItsFreeSubstitute)
{
    if (!UnderWine()) GTEST_SKIP() << "on Windows the faces are the system's own";
    struct Mapping {
        const char* asked;
        const char* expected;
    };
    // The full names: "Liberation Serif", "FreeMono", "OCR B Regular".
    for (const Mapping& m : {Mapping{"Times New Roman", "Liberation Serif"}, Mapping{"Lucida console", "FreeMono"},
                             Mapping{"OCR-B 10 BT", "OCR B Regular"}}) {
        EXPECT_EQ(Measure(m.asked, 24).face, m.expected) << m.asked;
    }
    EXPECT_TRUE(Measure("Lucida console", 24).fixedPitch);
    EXPECT_TRUE(Measure("OCR-B 10 BT", 14).fixedPitch);
}

// Lucida Console's body is exactly one em high and its advance 0.6 em; the board's
// rows and fields are sized from that cell, so its substitute must keep it.
TEST(Fonts, RowFaceHasACellOneEmHighAndSixTenthsOfAnEmWide)
{
    for (const int points : {24, 16, 36}) {
        const int em = -PixelHeight(points);
        const Face face = Measure("Lucida console", points);
        EXPECT_TRUE(face.fixedPitch) << points;
        EXPECT_EQ(face.lineHeight, em) << points;
        EXPECT_NEAR(face.averageWidth, 0.6 * em, 0.5) << points;
    }
}

TEST(Fonts, AllFourteenRowsAndTheHelpTextLieInsideTheWindow)
{
    const Face row = Measure("Lucida console", 24);
    const Face help = Measure("Times New Roman", 10);
    // Under Wine the rows follow the substitute's own metrics, asked for by its name.
    const Face substitute = Measure(UnderWine() ? "FreeMono" : "Lucida Console", 24);
    PlayInProcess(nullptr, [&] {
        const RECT client = ClientRect();
        for (int r = 1; r <= kRowCount; ++r) {
            const RECT field = BoxInClient(kRowFieldBase + r);
            EXPECT_EQ(field.bottom - field.top, substitute.lineHeight) << r;
            EXPECT_EQ(field.right - field.left, 4 * substitute.averageWidth) << r;
            EXPECT_EQ(field.bottom - field.top, row.lineHeight) << r;
            EXPECT_LE(BoxInClient(kAnswerSurfaceBase + r).bottom, client.bottom) << r;
        }
        // The three rule sentences, one text line each, from the top of the help panel.
        const RECT panel = BoxInClient(kHelpPanel);
        EXPECT_GT(panel.top, BoxInClient(kRowFieldBase + kRowCount).bottom);
        EXPECT_LE(panel.top + 3 * help.height, client.bottom);
        for (int line = 0; line < 3; ++line) {
            EXPECT_TRUE(HelpInkShown(line * help.height, (line + 1) * help.height)) << "help line " << line + 1;
        }
    });
}
