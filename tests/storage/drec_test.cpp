#include "storage/drec.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/zmsg.h"

TEST(WRec, DefaultRecordIsEmptyWithFullCapacityAndNoLink) {
    WRec rec;
    EXPECT_EQ(rec.Flags(), 0);
    EXPECT_EQ(rec.Link(), NoLink);
    EXPECT_EQ(rec.Length(), 0);
    EXPECT_EQ(rec.Capacity(), MaxRecordLength);
    EXPECT_EQ(MaxRecordLength, 20000u);
    EXPECT_EQ(NoLink, 0xFFFFFFFFu);
    EXPECT_EQ(EmptyLogicalFileLength, 8u);
}

TEST(WRec, AcceptsLengthsUpToTheLimit) {
    WRec rec;
    rec.SetLength(MaxRecordLength);
    EXPECT_EQ(rec.Length(), MaxRecordLength);
    std::vector<uint8_t> bytes(MaxRecordLength, 0x5A);
    rec.Assign(bytes.data(), MaxRecordLength);
    EXPECT_EQ(rec.Data()[MaxRecordLength - 1], 0x5A);
}

TEST(WRec, RefusesARecordLongerThanMaxRecordLength) {
    WRec rec(30000);  // a bigger buffer does not lift the record limit
    EXPECT_EQ(rec.Limit(), MaxRecordLength);
    try {
        rec.SetLength(MaxRecordLength + 1, "D:\\base\\a.dat", 0x1234ABu);
        FAIL() << "no error";
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 11);
        EXPECT_EQ(e.Message(), "D:\\base\\a.dat|( 20001)|20000|001234AB");
    }
    EXPECT_EQ(rec.Length(), 0);  // unchanged
}

TEST(WRec, RefusesMoreThanASmallBufferHolds) {
    WRec rec(16);
    const uint8_t bytes[17] = {1, 2, 3};
    rec.Assign(bytes, 16);
    EXPECT_EQ(rec.Length(), 16);
    try {
        rec.Assign(bytes, 17, "f.dat", 7);
        FAIL() << "no error";
    } catch (const ZError &e) {
        EXPECT_EQ(e.Number(), 11);
        EXPECT_EQ(e.Message(), "f.dat|( 17)|16|00000007");
    }
    EXPECT_EQ(rec.Length(), 16);
}

TEST(WRec, DeletedFlagIsBitSeven) {
    WRec rec(4);
    rec.SetFlags(RecordDeletedFlag);
    EXPECT_TRUE(rec.Deleted());
    rec.SetFlags(0x7F);
    EXPECT_FALSE(rec.Deleted());
}
