#pragma once
// Pages of the maker's web site that the updater points the user to.
#include <cstdint>
#include <functional>

#include "framework/runtime/AnsiString.h"

// The maker's web site (with trailing "/"); the maker puts the real address here.
extern const char *const SiteAddress;
// The page that explains the change of existing costs, and the one the warning's button opens.
extern const char *const CostChangePage;
extern const char *const UpdateErrorsPage;

AnsiString SitePageAddress(const char *page);

// A shell call (verb, file, parameters) returning the shell's result, above 32 on success.
using TShellRun = std::function<intptr_t(const AnsiString &verb, const AnsiString &file, const AnsiString &parameters)>;

// Opens an address with the shell's "open" verb; when that fails, once more through "explorer" with the
// address as its parameter (whose result is not looked at).
void OpenSitePage(const AnsiString &address, const TShellRun &shell);
