#include "process_counts.h"

#include <psapi.h>

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    // Wine leaves PrivateUsage at 0 and reports the same figure as the commit charge
    // (PagefileUsage), which Windows keeps equal to it.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

namespace {

long MenuCount(HMENU menu)
{
    if (menu == nullptr) return 0;
    long count = 1;
    const int items = GetMenuItemCount(menu);
    for (int i = 0; i < items; ++i) count += MenuCount(GetSubMenu(menu, i));
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    long& total = *reinterpret_cast<long*>(count);
    ++total;
    EnumChildWindows(window, CountChild, count);
    total += MenuCount(GetMenu(window));
    return TRUE;
}

}  // namespace

long ThreadUserObjectCount()
{
    long count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}
