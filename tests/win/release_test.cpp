// What the shipped executable carries beside its code: the version that Explorer
// shows and the application manifest, and what the manifest does to the window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window_win.h"
#include "game_driver.h"
#include "win_test_support.h"

#include <commctrl.h>  // BCM_GETIDEALSIZE

namespace {

std::string GamePath() { return ExecutableFolder() + "\\indovina.exe"; }

// The text of a string value of the version resource, or "" when it is missing.
std::string VersionString(const std::vector<char>& info, const std::string& name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\041004E4\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || length == 0) return "";
    return static_cast<const char*>(value);
}

struct ModuleDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

// The text of the executable's manifest resource (id 1, RT_MANIFEST), or "".
std::string GameManifest()
{
    std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter> module(
        LoadLibraryExA(GamePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return "";
    HRSRC resource = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (resource == nullptr) return "";
    HGLOBAL loaded = LoadResource(module.get(), resource);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(module.get(), resource)) : "";
}

}  // namespace

TEST(Release, GameCarriesItsVersionAndItalianName)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(GamePath().c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(GamePath().c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 0));  // 0.0
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));  // .1.0
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(info, "ProductName"), "Indovina il numero");
    EXPECT_EQ(VersionString(info, "FileDescription"), "Indovina il numero");
    EXPECT_EQ(VersionString(info, "FileVersion"), "0.01");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "0.01");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "indovina.exe");
}

TEST(Release, GameAsksForCommonControls6AndNoDpiAwareness)
{
    const std::string manifest = GameManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">unaware</dpiAwareness>"), std::string::npos);
}

// The tests that play the game carry the same manifest, so the toggles are the
// buttons of common controls 6, as in the game; clicked, they still read as pressed.
TEST(Release, TogglesAreCommonControls6ButtonsThatStillLatch)
{
    PlayInProcess(nullptr, [] {
        // Only the buttons of common controls 6 know BCM_GETIDEALSIZE; the older
        // ones leave the size untouched and answer 0.
        for (const int id : {kCrossOutToggleBase, kHighlightToggleBase + 9}) {
            SIZE ideal{};
            EXPECT_TRUE(SendMessageA(GetDlgItem(mainWindow, id), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
                << id;
            EXPECT_GT(ideal.cx, 0) << id;
        }
        for (const int id : {kCrossOutToggleBase + 3, kHighlightToggleBase + 7}) {
            HWND toggle = GetDlgItem(mainWindow, id);
            ClickControl(id, 10, 10);
            EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_CHECKED) << id;
            ClickControl(id, 10, 10);
            EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
        }
    });
}
