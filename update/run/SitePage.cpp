#include "update/run/SitePage.h"

const char *const SiteAddress = "https://www.example.com/";
const char *const CostChangePage = "news_errors_2103.html";
const char *const UpdateErrorsPage = "news_errors_2105.html";

AnsiString SitePageAddress(const char *page) { return AnsiString(SiteAddress) + page; }

void OpenSitePage(const AnsiString &address, const TShellRun &shell)
{
    if (shell("open", address, AnsiString()) <= 32)
        shell(AnsiString(), "explorer", address);
}
