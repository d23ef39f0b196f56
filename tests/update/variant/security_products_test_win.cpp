// The management service's answers about security software; under Wine its security-centre
// namespaces may be missing, which must read as "no products".
#include <gtest/gtest.h>

#include "framework/runtime/Wmi.h"
#include "update/variant/uSelKindUpdtList.h"

TEST(Wmi, ANamespaceThatDoesNotAnswerGivesNoResults)
{
    std::vector<std::vector<TWmiValue>> results{{TWmiValue()}};
    EXPECT_FALSE(
        WmiQueryProperty({"\\\\.\\root\\NoSuchNamespace"}, {"SELECT * FROM AntiVirusProduct"}, "displayName", results));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].empty());
}

TEST(Wmi, AnsweringNamespaceListsPropertiesOfEachInstance)
{
    std::vector<std::vector<TWmiValue>> results;
    ASSERT_TRUE(WmiQueryProperty({"\\\\.\\root\\NoSuchNamespace", "\\\\.\\root\\cimv2"},
                                 {"SELECT * FROM Win32_OperatingSystem", "SELECT * FROM NoSuchClass"}, "Caption",
                                 results));
    ASSERT_EQ(results.size(), 2u);
    ASSERT_EQ(results[0].size(), 1u);
    EXPECT_EQ(results[0][0].Type, TWmiValue::String);
    EXPECT_FALSE(results[0][0].Text.empty());
    EXPECT_TRUE(results[1].empty());  // a failed query lists nothing
}

TEST(QuerySecurityProducts, AskedTwiceInOneProcessTellsTheSameOrNothing)
{
    // The second call meets the process security the first one set.
    const AnsiString first = QuerySecurityProducts(true, true, false);
    const AnsiString second = QuerySecurityProducts(true, true, false);
    EXPECT_EQ(first, second);
    if (!first.empty()) {
        EXPECT_EQ(first.compare(0, 2, "  "), 0);
    }
}
