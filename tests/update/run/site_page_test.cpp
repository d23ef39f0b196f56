#include <gtest/gtest.h>

#include <vector>

#include "update/run/SitePage.h"

namespace {

struct TShellCall {
    AnsiString Verb, File, Parameters;
};

}  // namespace

TEST(SitePage, OpenedWithTheOpenVerb)
{
    std::vector<TShellCall> calls;
    OpenSitePage(SitePageAddress(UpdateErrorsPage), [&](const AnsiString &v, const AnsiString &f, const AnsiString &p) {
        calls.push_back({v, f, p});
        return intptr_t(33);
    });
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("open", calls[0].Verb);
    EXPECT_EQ(AnsiString(SiteAddress) + "news_errors_2105.html", calls[0].File);
    EXPECT_EQ("", calls[0].Parameters);
}

TEST(SitePage, NoHandlerForTheAddressTriesExplorerOnce)
{
    std::vector<TShellCall> calls;
    OpenSitePage("https://host/page.html", [&](const AnsiString &v, const AnsiString &f, const AnsiString &p) {
        calls.push_back({v, f, p});
        return intptr_t(calls.size() == 1 ? 31 : 2);  // no association, then a failing explorer too
    });
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("", calls[1].Verb);
    EXPECT_EQ("explorer", calls[1].File);
    EXPECT_EQ("https://host/page.html", calls[1].Parameters);
}
