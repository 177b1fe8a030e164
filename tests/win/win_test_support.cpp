#include "win_test_support.h"

#include <winternl.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "render/surface_win.h"

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string();
}

void PumpMessages()
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

// Under Wine: the live entries of the process's GDI handle table, as the PEB points
// to it (GdiSharedHandleTable, not part of the documented PEB layout), 0x10000
// entries. Each entry: the object's address, the owning process id (16 bits) and a
// use count, a 16-bit uniqueness tag, a type byte that is 0 when the entry is free,
// a flags byte, and a user-mode pointer. Wine 8 keeps one table per process and
// records no owner; a freed entry keeps its address field as the link of the free
// list, so the type byte is the only reliable mark of a live object.
#ifdef _WIN64
constexpr std::size_t kHandleTableOffset = 0xF8, kEntrySize = 24, kTypeOffset = 14;
#else
constexpr std::size_t kHandleTableOffset = 0x94, kEntrySize = 16, kTypeOffset = 10;
#endif

long GdiObjectCount()
{
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(reported);
    // The PEB's address as winternl.h documents it, from ntdll at run time (the
    // import library of ntdll is not part of every toolchain).
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const unsigned char* table = nullptr;
    std::memcpy(&table, reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) + kHandleTableOffset,
                sizeof table);
    if (!table) return -1;
    long live = 0;
    for (std::size_t i = 0; i < 0x10000; ++i) live += table[i * kEntrySize + kTypeOffset] != 0 ? 1 : 0;
    return live;
}

ScratchFolder::ScratchFolder() : previous(std::filesystem::current_path().string())
{
    static int made = 0;
    const std::string name = "indovina-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    path = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove_all(path);  // left by an earlier process of the same id
    std::filesystem::create_directory(path);
    std::filesystem::current_path(path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}

void WriteBitmapFile(const std::string& path, int width, int height, const std::vector<Colour>& pixels)
{
    const int rowSize = (width * 3 + 3) & ~3;  // rows are padded to four bytes
    const BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER file{0x4D42, offset + static_cast<DWORD>(rowSize * height), 0, 0, offset};  // "BM"
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file)
        .write(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = height - 1; y >= 0; --y) {  // the bottom row first
        for (int x = 0; x < width; ++x) {
            const Colour c = pixels[static_cast<std::size_t>(y * width + x)];
            out.put(static_cast<char>(c >> 16)).put(static_cast<char>(c >> 8)).put(static_cast<char>(c));  // blue first
        }
        out.write("\0\0\0", rowSize - width * 3);
    }
}

// --- Drawing surfaces ---------------------------------------------------------

static LRESULT CALLBACK RenderHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && PaintSurfaceItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

RenderTest::RenderTest()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RenderHostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "IndovinaRenderTest";
    RegisterClassA(&windowClass);  // fails harmlessly from the second test of a run on
    host = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40, 40, 420, 160, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
    for (const SurfacePlace& s : {kPlain, kInfo, kText, kAnswer})
        CreateSurface(host, s.id, s.x, s.y, s.width, s.height, 0);
    PumpMessages();
    SetCurrentDirectoryA(ExecutableFolder().c_str());
    SelectSurface(host, kPlain.id);
    SetInkColour(0);
    SetTextBackColour(kTransparent);
}

RenderTest::~RenderTest() { DestroyWindow(host); }

std::vector<Colour> RenderTest::Pixels(const SurfacePlace& surface)
{
    SelectSurface(host, surface.id);
    std::vector<Colour> pixels;
    for (int i = 0; i < surface.width * surface.height; ++i)
        pixels.push_back(ReadPixel(i % surface.width, i / surface.width));
    return pixels;
}

::testing::AssertionResult RenderTest::PixelsMatch(const SurfacePlace& surface,
                                                   const std::function<Colour(int x, int y)>& expected)
{
    SelectSurface(host, surface.id);
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            if (ReadPixel(x, y) == expected(x, y)) continue;
            return ::testing::AssertionFailure()
                   << "pixel " << x << "," << y << " is " << std::hex << ReadPixel(x, y) << ", not " << expected(x, y);
        }
    }
    return ::testing::AssertionSuccess();
}
