#pragma once
// The management service of Windows: one property of every instance that a query returns.
#include <vector>

#include "framework/runtime/AnsiString.h"

// A property value as the service gives it.
struct TWmiValue {
    enum Kind { None, String, Int32, UInt8, Boolean, OtherScalar };  // None: empty, null or an array
    Kind Type = None;
    AnsiString Text;       // String
    long long Number = 0;  // Int32, UInt8, Boolean (0 or 1)
};

// Connects to the first of `namespaces` that answers and runs each WQL query there (forward only,
// returning at once), collecting `property` of each instance: results[i] holds the values of query i,
// none when that query failed. COM is started on the calling thread for the call and ended after; the
// process's default security is set with impersonation, and a process whose security is already set
// (a second call) goes on with it. False, with every result empty, when no namespace answers (a system
// without the namespaces, for instance).
bool WmiQueryProperty(const std::vector<AnsiString> &namespaces, const std::vector<AnsiString> &queries,
                      const AnsiString &property, std::vector<std::vector<TWmiValue>> &results);
