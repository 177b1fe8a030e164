// What a player gets: the faces for the names the game asks for and the board they
// give, the executable's version and manifest. Under Wine the project's prefixes
// stand a free face in for each name (scripts/lib/wine.sh); the row face must have
// Lucida Console's cell, or the last rows and the help text fall below the window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game/game_state.h"
#include "game_driver.h"
#include "render/panels_win.h"
#include "win_test_support.h"

#include <commctrl.h>  // BCM_GETIDEALSIZE

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

struct Face {
    std::string name;  // the full name of the face the font mapper chose
    TEXTMETRICA metrics{};
};

// What a request by name and size gives, measured apart from the game. GetTextFaceA
// gives back the name asked for, and so does the family name of a face that Wine's
// Replacements key stands in with; the outline face name is the font's own.
Face Measure(const char* name, int points)
{
    std::unique_ptr<HFONT__, decltype(&DeleteObject)> font(nullptr, &DeleteObject);  // outlives the DC it is in
    const std::unique_ptr<HDC__, decltype(&DeleteDC)> dc(CreateCompatibleDC(nullptr), &DeleteDC);
    LOGFONTA request{};
    request.lfHeight = -(GetDeviceCaps(dc.get(), LOGPIXELSY) * points / 72);
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, name, LF_FACESIZE);
    font.reset(CreateFontIndirectA(&request));
    SelectObject(dc.get(), font.get());
    Face face;
    GetTextMetricsA(dc.get(), &face.metrics);
    std::vector<char> outline(GetOutlineTextMetricsA(dc.get(), 0, nullptr));
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(outline.data());
    if (GetOutlineTextMetricsA(dc.get(), outline.size(), metrics) != 0) {
        face.name = outline.data() + reinterpret_cast<UINT_PTR>(metrics->otmpFaceName);
    }
    return face;
}

}  // namespace

// Each name the game asks for gets its free substitute under Wine. The fields, of
// four columns and one line at 24 points, are sized from the face that stands in for
// Lucida Console, asked for here by its own name.
TEST(Fonts, EachFaceGetsItsSubstituteAndAllFourteenRowsAndTheHelpTextFitTheWindow)
{
    if (UnderWine()) {
        EXPECT_EQ(Measure("Times New Roman", 10).name, "Liberation Serif");
        EXPECT_EQ(Measure("Lucida console", 24).name, "FreeMono");
        EXPECT_EQ(Measure("OCR-B 10 BT", 14).name, "OCR B Regular");  // the family "OCR B "
    }
    const TEXTMETRICA cell = Measure(UnderWine() ? "FreeMono" : "Lucida Console", 24).metrics;
    const int helpLine = Measure("Times New Roman", 10).metrics.tmHeight;
    PlayInProcess(nullptr, [&] {
        RECT client{}, field{}, answer{}, help{};  // on the screen
        GetClientRect(mainWindow, &client);
        MapWindowPoints(mainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (int r = 1; r <= kRowCount; ++r) {
            GetWindowRect(GetDlgItem(mainWindow, kRowFieldBase + r), &field);
            GetWindowRect(GetDlgItem(mainWindow, kAnswerSurfaceBase + r), &answer);
            EXPECT_EQ(field.bottom - field.top, cell.tmHeight + cell.tmExternalLeading) << r;
            EXPECT_EQ(field.right - field.left, 4 * cell.tmAveCharWidth) << r;
            EXPECT_LE(answer.bottom, client.bottom) << r;
        }
        // Three rule sentences, one text line each: the third one shows on the screen.
        GetWindowRect(GetDlgItem(mainWindow, kHelpPanel), &help);
        EXPECT_LE(help.top + 3 * helpLine, client.bottom);
        bool ink = false;
        for (int y = 2 * helpLine; y < 3 * helpLine; ++y) {
            for (int x = 0; x < 300 && !ink; ++x) ink = ScreenPixel(kHelpPanel, x, y) == helpInkColour;
        }
        EXPECT_TRUE(ink);
    });
}

TEST(Release, GameCarriesVersion001AndItsItalianName)
{
    const std::string game = ExecutableFolder() + "\\indovina.exe";
    std::vector<char> info(GetFileVersionInfoSizeA(game.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoA(game.c_str(), 0, info.size(), info.data())) << "no version resource";
    auto value = [&](const std::string& path) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueA(info.data(), path.c_str(), &found, &length) && length > 0 ? found : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value("\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ((UINT64{fixed->dwFileVersionMS} << 32) + fixed->dwFileVersionLS, 0x0000'0000'0001'0000u);  // 0.0.1.0
    for (const auto& [name, text] : {std::pair{"FileVersion", "0.01"}, {"ProductName", "Indovina il numero"}}) {
        EXPECT_STREQ(static_cast<const char*>(value(std::string("\\StringFileInfo\\041004E4\\") + name)), text);
    }
}

// The tests that play the game carry the same manifest, so the toggles here are
// the buttons of common controls 6, as in the game; clicked, they still latch.
TEST(Release, ManifestAsksForCommonControls6WhoseTogglesStillLatchAndNoDpiScaling)
{
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> game(
        LoadLibraryExA((ExecutableFolder() + "\\indovina.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE),
        &FreeLibrary);
    HRSRC resource = FindResourceA(game.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(resource, nullptr) << "no manifest";
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(game.get(), resource))),
                               SizeofResource(game.get(), resource));
    for (const char* wanted : {R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")", ">false</dpiAware>",
                               ">unaware</dpiAwareness>"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
    PlayInProcess(nullptr, [] {
        for (const int id : {kCrossOutToggleBase + 3, kHighlightToggleBase + 7}) {
            HWND toggle = GetDlgItem(mainWindow, id);
            SIZE ideal{};  // only the buttons of common controls 6 know this message
            EXPECT_TRUE(SendMessageA(toggle, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) << id;
            ClickControl(id, 10, 10);
            EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_CHECKED) << id;
            ClickControl(id, 10, 10);
            EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
        }
    });
}
