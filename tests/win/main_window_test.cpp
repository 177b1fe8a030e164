// The main window as it opens: its place and size, its controls, its menu and the
// first picture.
#include <gtest/gtest.h>

#include <vector>

#include "app/control_ids.h"
#include "app/dialog_win.h"
#include "app/main_window_win.h"
#include "game/field_editor_win.h"
#include "game/game_state.h"
#include "game_driver.h"

namespace {

struct Box {
    int x, y, width, height;
    bool operator==(const Box&) const = default;
};

void PrintTo(const Box& b, std::ostream* os) { *os << "(" << b.x << ", " << b.y << ", " << b.width << " x " << b.height << ")"; }

Box ClientBox(HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The row font measured here, apart from the game: "Lucida console" at 24 points.
TEXTMETRICA RowFontMetrics()
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    LOGFONTA lf{};
    lf.lfHeight = -(GetDeviceCaps(dc, LOGPIXELSY) * 24 / 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "Lucida console");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return tm;
}

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

TEST(MainWindow, IsCentredWithA460By610ClientBeforeTheMenuAndOnlyCaptionAndSystemMenu)
{
    PlayInProcess(nullptr, [] {
        const LONG_PTR style = GetWindowLongPtrA(mainWindow, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrA(mainWindow, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_DISABLED), 0);
        EXPECT_EQ(GetWindow(mainWindow, GW_OWNER), nullptr);
        EXPECT_EQ(WindowText(mainWindow), "Indovina il numero 0.01");

        RECT outer{0, 0, 460, 610};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(exStyle));
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        RECT window{};
        GetWindowRect(mainWindow, &window);
        EXPECT_EQ(window.right - window.left, width);
        EXPECT_EQ(window.bottom - window.top, height);
        EXPECT_EQ(window.left, (work.left + work.right - width) / 2);
        EXPECT_EQ(window.top, (work.top + work.bottom - height) / 2);

        // The menu bar took its height out of the client area.
        RECT client{};
        GetClientRect(mainWindow, &client);
        EXPECT_EQ(client.right, 460);
        EXPECT_LT(client.bottom, 610);
        EXPECT_GT(client.bottom, 610 - 3 * GetSystemMetrics(SM_CYMENU));
    });
}

TEST(MainWindow, ControlsMenuAndDefaultCommandAreWhereTheLayoutPutsThem)
{
    const TEXTMETRICA tm = RowFontMetrics();
    const int h = tm.tmHeight + tm.tmExternalLeading;
    const int w = 4 * tm.tmAveCharWidth;
    PlayInProcess(nullptr, [&] {
        auto at = [](int id) { return ClientBox(GetDlgItem(mainWindow, id)); };
        EXPECT_EQ(at(kDigitPanel), (Box{5, 0, 180, 40}));
        EXPECT_EQ(at(kClockPanel), (Box{186, 0, 130, 40}));
        EXPECT_EQ(at(kElapsedPanel), (Box{317, 0, 136, 40}));
        for (int d = 0; d <= 9; ++d) {
            for (const int base : {kCrossOutToggleBase, kHighlightToggleBase}) {
                HWND toggle = GetDlgItem(mainWindow, base + d);
                ASSERT_NE(toggle, nullptr) << base + d;
                const int left = base == kCrossOutToggleBase ? 5 : 235;
                EXPECT_EQ(ClientBox(toggle), (Box{left + 22 * d, 46, 20, 20})) << base + d;
                EXPECT_EQ(WindowText(toggle), std::string(1, static_cast<char>('0' + d)));
                const LONG_PTR style = GetWindowLongPtrA(toggle, GWL_STYLE);
                EXPECT_EQ(style & 0x0F, BS_AUTOCHECKBOX);
                EXPECT_TRUE(style & BS_PUSHLIKE);
                EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
            }
        }
        int y = 75;
        for (int row = 1; row <= kRowCount; ++row) {
            EXPECT_EQ(at(kRowLabelBase + row), (Box{5, y, 120, h})) << row;
            EXPECT_EQ(at(kRowFieldBase + row), (Box{129, y, w, h})) << row;
            EXPECT_EQ(at(kAnswerSurfaceBase + row), (Box{133 + w, y, 4 * h, h})) << row;
            HWND field = GetDlgItem(mainWindow, kRowFieldBase + row);
            EXPECT_TRUE(GetWindowLongPtrA(field, GWL_STYLE) & SS_NOTIFY);
            EXPECT_EQ(GetWindowLongPtrA(field, GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW);
            EXPECT_EQ(ControlSlot(field, kRowNumberSlot), row);
            y += h + 1;
        }
        EXPECT_EQ(at(kHelpPanel), (Box{5, y, 820, 65}));
        for (const int id : {100, 600, 700, 300, 400, 500}) EXPECT_EQ(GetDlgItem(mainWindow, id), nullptr) << id;
        int controls = 0;
        for (HWND child = GetWindow(mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            ++controls;
            EXPECT_FALSE(GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP) << GetDlgCtrlID(child);
        }
        EXPECT_EQ(controls, 3 + 20 + 3 * kRowCount + 1);
        EXPECT_EQ(LOWORD(SendMessageA(mainWindow, DM_GETDEFID, 0, 0)), 710);

        // The menu bar: "Autore" opening "&autore", the author command.
        ASSERT_EQ(GetMenu(mainWindow), menuBar);
        char text[64] = {};
        GetMenuStringA(menuBar, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "Autore");
        HMENU popup = GetSubMenu(menuBar, 0);
        GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&autore");
        EXPECT_EQ(GetMenuItemCount(menuBar) + GetMenuItemCount(popup), 2);
        EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(kAuthorCommand));
    });
}

TEST(MainWindow, FirstPictureShowsLabelsPlainBoxesDigitsAndTheActiveRow)
{
    PlayInProcess(nullptr, [] {
        for (int row = 1; row <= kRowCount; ++row) {
            EXPECT_EQ(SurfacePixel(kRowLabelBase + row, 118, 1), 0xCDCDCDu) << row;
            EXPECT_EQ(SurfacePixel(kAnswerSurfaceBase + row, 2, 2), 0xD4D4C8u) << row;
            // Every field but the current one is drawn without a caret.
            const COLORREF corner = SurfacePixel(kRowFieldBase + row, 2, 2);
            EXPECT_EQ(corner, row == 1 ? 0x808080u : 0xD7D7D7u) << row;
        }
        // The label's text is drawn in its ink somewhere on the left.
        bool inked = false;
        for (int x = 0; x < 60 && !inked; ++x) {
            for (int y = 0; y < 30 && !inked; ++y) inked = SurfacePixel(kRowLabelBase + 1, x, y) == 0x191919u;
        }
        EXPECT_TRUE(inked);
        EXPECT_EQ(SurfacePixel(kDigitPanel, 1, 1), 0x1E321Eu);
        EXPECT_EQ(SurfacePixel(kDigitPanel, 0, 20), 0x1E501Eu);
        EXPECT_EQ(SurfacePixel(kDigitPanel, 2, 22), 0xC0C0C0u);
        EXPECT_EQ(SurfacePixel(kHelpPanel, 800, 60), 0xCDCDCDu);
        // What the screen shows is the surface's bitmap.
        EXPECT_EQ(ScreenPixel(kDigitPanel, 1, 1), 0x1E321Eu);
        EXPECT_EQ(ScreenPixel(kRowFieldBase + 1, 2, 2), 0x808080u);

        // A redraw-only call draws no caret.
        RunOnGameThread([] {
            LoadRow(1);
            std::int32_t key = -1;
            EditField(key, "", gameState.editBuffer, mainWindow, kRowFieldBase + 1, gameState.fieldStyle[1].fontSize);
        });
        EXPECT_EQ(ScreenPixel(kRowFieldBase + 1, 2, 2), 0xD7D7D7u);
    });
}
