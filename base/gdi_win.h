// Owned GDI handles: each object is deleted, and each selection undone, exactly once.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiOwned = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

// A window's device context (the screen's for a null window), released at scope end.
struct WindowDc {
    explicit WindowDc(HWND w) : window(w), dc(GetDC(w)) {}
    ~WindowDc()
    {
        if (dc) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HWND window;
    HDC dc;
};

// Selects an object into a context and, at scope end, puts back the object the
// context held before, so that ours is no longer selected when it is deleted.
struct SelectionRestorer {
    SelectionRestorer(HDC d, HGDIOBJ object) : dc(d), original(SelectObject(d, object)) {}
    ~SelectionRestorer()
    {
        if (dc && original) SelectObject(dc, original);
    }
    SelectionRestorer(const SelectionRestorer&) = delete;
    SelectionRestorer& operator=(const SelectionRestorer&) = delete;

    HDC dc;
    HGDIOBJ original;
};

inline COLORREF ToColorRef(unsigned colour) { return static_cast<COLORREF>(colour & 0x00FFFFFFu); }
