// Helpers shared by the tests of the Win32 shell.
#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable (where indovina.exe, q.bmp and c.bmp lie).
std::string ExecutableFolder();

// Starts a program and waits for it; returns its exit code, or -1 when it could
// not be started or did not end within the time given.
int RunProgram(const std::string& commandLine, DWORD timeoutMs);
