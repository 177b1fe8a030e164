// The program's entry. The command line and the requested show state are ignored.
#include "app/entry_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*showState*/)
{
    return RunIndovina(instance, PlatformClocks());
}
