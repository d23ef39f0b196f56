// The version code and family of made-up systems, the shared record's fill and clear.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "update/variant/OSVers.h"

namespace {

// A system that tells a given version. The plain query leaves the extended fields out, as the real
// one does.
class MadeUpSystem : public IOSVersionQuery {
public:
    MadeUpSystem(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build = 0,
                 std::uint8_t productType = 0)
    {
        Info.PlatformId = platform;
        Info.Major = major;
        Info.Minor = minor;
        Info.Build = build;
        Info.ProductType = productType;
    }

    bool Version(TWindowsVersionInfo &info, bool extended) override
    {
        ++(extended ? ExtendedQueries : PlainQueries);
        if (++Inside > 1)
            ++Overlaps;
        if (YieldInQuery)
            std::this_thread::yield();
        --Inside;
        if (!Answers)
            return false;
        info = Info;
        if (!extended) {
            info.ServicePackMajor = info.ServicePackMinor = info.SuiteMask = 0;
            info.ProductType = 0;
        }
        return true;
    }
    bool ProductInfo(std::uint32_t major, std::uint32_t minor, std::uint32_t spMajor, std::uint32_t spMinor,
                     std::uint32_t &type) override
    {
        ++ProductInfoQueries;
        EXPECT_EQ(6u, major);
        EXPECT_EQ(0u, minor + spMajor + spMinor);
        type = ProductInfoType;
        return HasProductInfo;
    }
    unsigned ProcessorArchitecture() override { return Architecture; }
    bool ServerR2() override { return R2; }

    TWindowsVersionInfo Info;
    bool Answers = true;
    bool HasProductInfo = true;
    std::uint32_t ProductInfoType = 0;
    unsigned Architecture = 0;
    bool R2 = false;
    bool YieldInQuery = false;
    std::atomic<int> PlainQueries{0}, ExtendedQueries{0}, ProductInfoQueries{0};
    std::atomic<int> Inside{0}, Overlaps{0};  // queries under way, and how often two were
};

}  // namespace

TEST(TOSVers, VersionCodeAndFamilyOfEachSystem)
{
    struct Row {
        std::uint32_t platform, major, minor, build;
        std::uint8_t productType;
        std::uint16_t suite;
        unsigned architecture;
        bool r2;
        int code, family;
    } rows[] = {
        // The 9x line; its build number carries the version in the high word.
        {1, 4, 0, 950, 0, 0, 0, false, 1, 0},
        {1, 4, 0, 1000, 0, 0, 0, false, 2, 0},
        {1, 4, 3, 0x04030000 | 1080, 0, 0, 0, false, 2, 0},
        {1, 4, 0, 0x04000000 | 1081, 0, 0, 0, false, 3, 0},
        {1, 4, 10, 1998, 0, 0, 0, false, 4, 1},
        {1, 4, 10, 1999, 0, 0, 0, false, 5, 1},
        {1, 4, 10, 2182, 0, 0, 0, false, 5, 1},
        {1, 4, 10, 0x040A0000 | 2183, 0, 0, 0, false, 6, 1},
        {1, 4, 90, 3000, 0, 0, 0, false, 7, 1},
        // The NT line.
        {2, 3, 51, 1057, 0, 0, 0, false, 101, 0},
        {2, 4, 0, 1381, 0, 0, 0, false, 102, 2},
        {2, 5, 0, 2195, 1, 0, 0, false, 103, 3},
        {2, 5, 0, 2195, 2, 0, 0, false, 103, 3},
        {2, 5, 0, 2195, 3, 0, 0, false, 104, 3},
        {2, 5, 1, 2600, 1, 0, 0, false, 105, 4},
        {2, 5, 2, 3790, 1, 0, 9, false, 106, 4},
        {2, 5, 2, 3790, 1, 0, 0, false, 105, 4},
        {2, 5, 2, 3790, 1, 0x8000, 9, false, 107, 4},
        {2, 5, 2, 3790, 1, 0x8110, 0, false, 107, 4},  // the suite's flag among others
        {2, 5, 2, 3790, 3, 0x8000, 9, false, 109, 5},
        {2, 5, 2, 3790, 3, 0, 9, true, 110, 5},
        {2, 5, 2, 3790, 2, 0, 0, true, 110, 5},
        {2, 6, 0, 6002, 1, 0, 9, false, 111, 6},
        {2, 6, 0, 6002, 3, 0, 9, false, 112, 7},
        {2, 6, 1, 7601, 1, 0, 9, false, 120, 8},
        {2, 6, 1, 7601, 3, 0, 9, false, 113, 7},
        {2, 6, 2, 9200, 1, 0, 9, false, 130, 9},
        {2, 6, 3, 9600, 3, 0, 9, false, 131, 9},
        {2, 10, 0, 19045, 1, 0, 9, false, 10, 0},
        {3, 1, 0, 0, 0, 0, 0, false, 201, 0},
        // Versions the table does not know.
        {1, 4, 0, 900, 0, 0, 0, false, 0, 0},
        {1, 4, 10, 1500, 0, 0, 0, false, 0, 0},
        {1, 5, 0, 950, 0, 0, 0, false, 0, 0},
        {2, 6, 4, 9800, 1, 0, 9, false, 0, 0},
        {2, 10, 1, 0, 1, 0, 9, false, 0, 0},
        {2, 11, 0, 0, 1, 0, 9, false, 0, 0},
        {0, 3, 10, 0, 0, 0, 0, false, 0, 0},
        {4, 6, 1, 7601, 1, 0, 9, false, 0, 0},
    };
    for (const Row &r : rows) {
        MadeUpSystem system(r.platform, r.major, r.minor, r.build, r.productType);
        system.Info.SuiteMask = r.suite;
        system.Architecture = r.architecture;
        system.R2 = r.r2;
        TOSVers os(system);
        const std::string name = std::to_string(r.platform) + ":" + std::to_string(r.major) + "." +
                                 std::to_string(r.minor) + " build " + std::to_string(r.build & 0xFFFF) + " type " +
                                 std::to_string(r.productType);
        EXPECT_EQ(r.code, os.VersionCode()) << name;
        EXPECT_EQ(r.family, os.Family()) << name;
        EXPECT_EQ(r.family != 0, os.IsKnown()) << name;
        EXPECT_EQ(r.family, OSVersionFamily(r.code)) << name;
    }
    // Families no version gives a code of.
    EXPECT_EQ(5, OSVersionFamily(108));
    EXPECT_EQ(10, OSVersionFamily(135));
    EXPECT_EQ(0, OSVersionFamily(-1));
}

TEST(TOSVers, ExtendedFieldsOnlyFromTwoThousandUpToTheLastSix)
{
    MadeUpSystem seven(2, 6, 1, 7601, 1);
    seven.Info.ServicePack = "Service Pack 1";
    seven.Info.ServicePackMajor = 1;
    seven.Info.ServicePackMinor = 2;
    seven.Info.SuiteMask = 0x0300;
    seven.ProductInfoType = 0x30;
    {
        TOSVers os(seven);
        EXPECT_EQ(1, seven.PlainQueries.load());
        EXPECT_EQ(1, seven.ExtendedQueries.load());
        EXPECT_EQ(1u, os.ProductType());
        EXPECT_EQ(1u, os.ServicePackMajor());
        EXPECT_EQ(2u, os.ServicePackMinor());
        EXPECT_EQ(0x0300u, os.SuiteMask());
        EXPECT_EQ(0x30u, os.ProductInfo());
        EXPECT_EQ("Service Pack 1", os.ServicePack());
        EXPECT_EQ(1, os.ServicePackNumber());
    }
    // A kernel without the product-information entry leaves its type unknown.
    seven.HasProductInfo = false;
    {
        TOSVers os(seven);
        EXPECT_EQ(120, os.VersionCode());
        EXPECT_EQ(0u, os.ProductInfo());
    }
    // Outside that range only the plain query is asked.
    MadeUpSystem others[] = {{2, 10, 0, 19045, 1}, {2, 4, 0, 1381, 1}, {1, 4, 90, 3000}, {3, 1, 0}};
    for (MadeUpSystem &system : others) {
        system.Info.ServicePackMajor = 3;
        system.ProductInfoType = 0x30;
        TOSVers os(system);
        EXPECT_EQ(0, system.ExtendedQueries.load());
        EXPECT_EQ(0, system.ProductInfoQueries.load());
        EXPECT_EQ(0u, os.ProductType());
        EXPECT_EQ(0u, os.ServicePackMajor());
        EXPECT_EQ(0u, os.ProductInfo());
    }
}

TEST(TOSVers, AFailedQueryGivesZeroEverywhere)
{
    MadeUpSystem system(2, 6, 1, 7601, 1);
    system.Info.ServicePack = "Service Pack 1";
    system.Info.ServicePackMajor = 1;
    system.Info.SuiteMask = 0x100;
    system.ProductInfoType = 0x30;
    system.Answers = false;
    TOSVers os(system);
    EXPECT_EQ(0, os.VersionCode());
    EXPECT_EQ(0, os.Family());
    EXPECT_FALSE(os.IsKnown());
    EXPECT_EQ(0u, os.ServicePackMajor());
    EXPECT_EQ(0u, os.ServicePackMinor());
    EXPECT_EQ(0u, os.SuiteMask());
    EXPECT_EQ(0u, os.ProductType());
    EXPECT_EQ(0u, os.ProductInfo());
    EXPECT_EQ("", os.ServicePack());
    EXPECT_EQ(0, os.ServicePackNumber());
    EXPECT_EQ(0, system.ExtendedQueries.load());
}

TEST(TOSVers, ServicePackNumberIsTheTextsFirstDigit)
{
    for (auto [text, number] : std::vector<std::pair<AnsiString, int>>{
             {"Service Pack 3", 3}, {"Пакет обновления", 0}, {"", 0}, {"Service Pack 12", 1}}) {
        MadeUpSystem system(2, 5, 1, 2600, 1);
        system.Info.ServicePack = text;
        TOSVers os(system);
        EXPECT_EQ(text, os.ServicePack());
        EXPECT_EQ(number, os.ServicePackNumber()) << text;
    }
}

TEST(TOSVers, TheFirstUserFillsTheLastClearsAndTheNextFillsAgain)
{
    MadeUpSystem seven(2, 6, 1, 7601, 1);
    MadeUpSystem xp(2, 5, 1, 2600, 1);
    EXPECT_EQ(0, TOSVers::Users());
    {
        TOSVers first(seven);
        {
            // Later users share the record: they ask nothing.
            TOSVers second(xp);
            EXPECT_EQ(2, TOSVers::Users());
            EXPECT_EQ(120, second.VersionCode());
            EXPECT_EQ(0, xp.PlainQueries.load());
        }
        EXPECT_EQ(1, TOSVers::Users());
        EXPECT_EQ(120, first.VersionCode());
    }
    EXPECT_EQ(0, TOSVers::Users());
    EXPECT_EQ(1, seven.PlainQueries.load());
    TOSVers next(xp);
    EXPECT_EQ(1, xp.PlainQueries.load());
    EXPECT_EQ(105, next.VersionCode());
}

TEST(TOSVers, UsersOnManyThreadsAlwaysSeeAFilledRecord)
{
    // Users come and go on every thread, so first users, last users and fills meet: none may see the
    // record empty or filled twice at once.
    MadeUpSystem seven(2, 6, 1, 7601, 1);
    seven.YieldInQuery = true;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                TOSVers os(seven);
                std::this_thread::yield();
                if (os.VersionCode() != 120 || os.ProductType() != 1)
                    ++wrong;
            }
        });
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(0, wrong.load());
    EXPECT_EQ(0, seven.Overlaps.load());
    EXPECT_EQ(0, TOSVers::Users());
    EXPECT_EQ(seven.PlainQueries.load(), seven.ExtendedQueries.load());
}
