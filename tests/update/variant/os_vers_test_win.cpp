// The version of the system the tests run on, as the system's own query tells it.
#include <gtest/gtest.h>

#include "framework/runtime/Kernel.h"
#include "update/variant/OSVers.h"

TEST(TOSVers, TheRunningSystemHasACodeOfTheTable)
{
    unsigned major = 0, minor = 0, build = 0;
    ASSERT_TRUE(GetWindowsVersion(major, minor, build));
    TOSVers os;
    const int code = os.VersionCode();
    EXPECT_NE(0, code) << major << "." << minor;
    EXPECT_EQ(OSVersionFamily(code), os.Family());
    EXPECT_EQ(os.Family() != 0, os.IsKnown());
    // The program is built for x64.
    EXPECT_EQ(9u, GetProcessorArchitecture());
    // Wine's default prefix tells the 6.1 workstation.
    if (major == 6 && minor == 1) {
        EXPECT_EQ(120, code);
        EXPECT_EQ(8, os.Family());
        EXPECT_EQ(1u, os.ProductType());
        EXPECT_EQ(os.ServicePack().empty() ? 0 : os.ServicePackMajor(), os.ServicePackNumber());
    }
}

TEST(TOSVers, ThePlainQueryLeavesTheExtendedFieldsOut)
{
    TWindowsVersionInfo plain, extended;
    plain.ProductType = 7;
    ASSERT_TRUE(GetWindowsVersionInfo(plain, false));
    ASSERT_TRUE(GetWindowsVersionInfo(extended, true));
    EXPECT_EQ(0u, plain.ProductType);
    EXPECT_NE(0u, extended.ProductType);
    EXPECT_EQ(plain.Major, extended.Major);
    EXPECT_EQ(plain.Minor, extended.Minor);
    EXPECT_EQ(plain.Build, extended.Build);
    EXPECT_EQ(2u, extended.PlatformId);
    EXPECT_EQ(plain.ServicePack, extended.ServicePack);
}
