#pragma once
// Reaching the Linux host from a test that runs under Wine: the Unix path Wine keeps a Windows path
// at, and a Unix command run to its end. Windows build only; outside Wine neither is there.
#include <string>

#include "framework/runtime/AnsiString.h"

// Whether the program runs under Wine.
bool UnderWine();
// The Unix path of a Windows path (without a trailing "/"); empty outside Wine or when Wine has none.
std::string UnixPathOf(const AnsiString &windowsPath);
// Runs a Unix command line (Wine starts a Unix program as it is) and waits up to five seconds for it;
// false when it could not be started.
bool RunUnixCommand(const std::string &commandLine);
