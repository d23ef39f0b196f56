#include "storage/compound/drec.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/messages/zmsg.h"

TEST(WRec, AcceptsLengthsUpToTheLimit)
{
    WRec rec;
    EXPECT_EQ(rec.Link(), NoLink);
    rec.SetLength(MaxRecordLength);
    EXPECT_EQ(rec.Length(), MaxRecordLength);
    std::vector<uint8_t> bytes(MaxRecordLength, 0x5A);
    rec.Assign(bytes.data(), MaxRecordLength);
    EXPECT_EQ(rec.Data()[MaxRecordLength - 1], 0x5A);
    rec.SetFlags(0x7F);  // only bit seven marks a deleted record
    EXPECT_FALSE(rec.Deleted());
    rec.SetFlags(RecordDeletedFlag);
    EXPECT_TRUE(rec.Deleted());
}

TEST(WRec, RefusesARecordLongerThanTheLimitOrItsBufferAndKeepsItsLength)
{
    WRec big(30000);  // a bigger buffer does not lift the record limit
    EXPECT_EQ(big.Limit(), MaxRecordLength);
    try {
        big.SetLength(MaxRecordLength + 1, "D:\\base\\a.dat", 0x1234ABu);
        FAIL() << "no error";
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 11);
        EXPECT_EQ(e.Message(), "D:\\base\\a.dat|( 20001)|20000|001234AB");
    }
    EXPECT_EQ(big.Length(), 0);

    WRec small(16);
    const uint8_t bytes[17] = {1, 2, 3};
    small.Assign(bytes, 16);
    try {
        small.Assign(bytes, 17, "f.dat", 7);
        FAIL() << "no error";
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 11);
        EXPECT_EQ(e.Message(), "f.dat|( 17)|16|00000007");
    }
    EXPECT_EQ(small.Length(), 16);
}
