#include "win_test_support.h"

#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <fstream>

#include "render/surface_win.h"

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    const auto slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

// --- Drawing surfaces ---------------------------------------------------------

namespace {

LRESULT CALLBACK SurfaceHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && PaintSurfaceItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* SurfaceHostClass()
{
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = SurfaceHostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = "IndovinaSurfaceHost";
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered ? "IndovinaSurfaceHost" : "STATIC";
}

}  // namespace

SurfaceHost::SurfaceHost(int x, int y, int width, int height)
{
    window = CreateWindowExA(0, SurfaceHostClass(), "surfaces", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpMessages();
}

SurfaceHost::~SurfaceHost()
{
    if (window) DestroyWindow(window);
    PumpMessages();
}

void PumpMessages()
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::vector<Colour> SurfacePixels()
{
    const PixelSize size = SurfaceSize();
    std::vector<Colour> pixels;
    pixels.reserve(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) pixels.push_back(ReadPixel(x, y));
    }
    return pixels;
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

namespace {

// The process's GDI handle table, as the PEB points to it (GdiSharedHandleTable,
// not part of the documented PEB layout). Each entry: the object's address, the
// owning process id (16 bits) and a use count, a 16-bit uniqueness tag, a type byte
// that is 0 when the entry is free, a flags byte, and a user-mode pointer. Wine
// 8 keeps the same layout, one table per process, and records no owner (0); a freed
// entry keeps its address field as the link of the free list, so the type byte is
// the only reliable mark of a live object.
#ifdef _WIN64
constexpr std::size_t kPebHandleTableOffset = 0xF8;
constexpr std::size_t kEntrySize = 24;
constexpr std::size_t kOwnerOffset = 8;
constexpr std::size_t kTypeOffset = 14;
#else
constexpr std::size_t kPebHandleTableOffset = 0x94;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kOwnerOffset = 4;
constexpr std::size_t kTypeOffset = 10;
#endif
constexpr std::size_t kHandleTableEntries = 0x10000;

long CountLiveHandleTableEntries()
{
    // The PEB's address as winternl.h documents it, from ntdll at run time (the
    // import library of ntdll is not part of every toolchain).
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return -1;
    PROCESS_BASIC_INFORMATION basic{};
    if (query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const unsigned char* table = nullptr;
    std::memcpy(&table, peb + kPebHandleTableOffset, sizeof table);
    if (!table) return -1;
    const auto self = static_cast<std::uint16_t>(GetCurrentProcessId());
    long live = 0;
    for (std::size_t i = 0; i < kHandleTableEntries; ++i) {
        const unsigned char* entry = table + i * kEntrySize;
        std::uint16_t owner = 0;
        std::memcpy(&owner, entry + kOwnerOffset, sizeof owner);
        if (entry[kTypeOffset] != 0 && (owner == 0 || owner == self)) ++live;
    }
    return live;
}

}  // namespace

long GdiObjectCount()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<long>(reported);
    return CountLiveHandleTableEntries();
}

ScratchFolder::ScratchFolder()
{
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    previous = buffer;
    GetTempPathA(MAX_PATH, buffer);
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = std::string(buffer) + "indovina-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path = candidate;
            break;
        }
    }
    SetCurrentDirectoryA(path.c_str());
}

ScratchFolder::~ScratchFolder()
{
    SetCurrentDirectoryA(previous.c_str());
    if (path.empty()) return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void WriteBitmapFile(const std::string& path, int width, int height, const std::vector<Colour>& pixels)
{
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageSize;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: rows stored bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    std::vector<unsigned char> image(imageSize, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = image.data() + static_cast<std::size_t>(height - 1 - y) * rowSize;
        for (int x = 0; x < width; ++x) {
            const Colour c = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            row[x * 3 + 0] = static_cast<unsigned char>(c >> 16);  // blue
            row[x * 3 + 1] = static_cast<unsigned char>(c >> 8);   // green
            row[x * 3 + 2] = static_cast<unsigned char>(c);        // red
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
}
