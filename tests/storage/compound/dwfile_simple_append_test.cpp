// The simple form while it is written: the file ends with an end record after every record that went
// to it, a failed write keeps the records before it, and Close raises what closing meets.
#include <string>

#include <gtest/gtest.h>

#include "storage/compound/dwfile.h"
#include "tests/storage/compound/WFileTestUtil.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/FaultyStore.h"
#include "tests/support/MemFiles.h"
#include "tests/support/ZErrorMatch.h"

using namespace testdata;
using namespace wfiletest;

TEST(SimpleWhileWritten, TheFileEndsWithAnEndRecordAfterEveryRecord)
{
    ScopedMemFiles mem;
    mem.files.Put("a.lst", SimpleFile({B("old")}));
    {
        WFile s("a.lst", SimpleMode::Append);
        std::vector<Bytes> records{B("old")};
        for (int i = 0; i < 4; ++i) {
            const Bytes r = Filled(10 + 300 * i, static_cast<uint8_t>(i));
            s.WriteRecord(0, static_cast<uint32_t>(r.size()), r.data());
            records.push_back(r);
            EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile(records)) << "after record " << i;
        }
    }
    const std::string line(19995, 'l');
    {
        WFile s("b.lst", SimpleMode::Create);
        EXPECT_EQ(mem.files.Get("b.lst"), SimpleFile({})) << "a new file is an empty chain at once";
        s.BeginWriteRecords(0, "\r\n");
        s.WriteLogicalRecord("one", 3);
        EXPECT_EQ(mem.files.Get("b.lst"), SimpleFile({})) << "logical records wait in their buffer";
        s.WriteLogicalRecord(line.data(), static_cast<uint32_t>(line.size()));
        EXPECT_EQ(mem.files.Get("b.lst"), SimpleFile({B("one\r\n")})) << "the full buffer went with an end record";
    }
    EXPECT_EQ(mem.files.Get("b.lst"), SimpleFile({B("one\r\n"), B(line + "\r\n")}));
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}

TEST(SimpleWhileWritten, AFailedAppendKeepsTheRecordsBeforeItReadableAndAppendable)
{
    // The disk is full with 10 or 30 bytes left, and the write that meets it writes nothing or the
    // bytes that fit (over the end record and past it).
    for (const uint32_t left : {10u, 30u}) {
        for (const bool whatFits : {false, true}) {
            SCOPED_TRACE(std::to_string(left) + (whatFits ? " bytes left, written" : " bytes left, none written"));
            ScopedMemFiles mem;
            mem.files.Put("a.lst", SimpleFile({B("old")}));
            FaultyStoreSystem faulty(mem.files);
            faulty.FailWritesTo("a.lst", UINT32_MAX);
            {
                WFile s("a.lst", SimpleMode::Append);
                s.WriteRecord(0, 5, "first");
                faulty.FailWritesTo("a.lst", left, whatFits);
                EXPECT_EQ(CatchZError([&] { s.WriteRecord(0, 26, "second, longer than what is"); }).Number(), 99);
                // Bytes that went out spent the space that putting the end record back needed: closing
                // puts it back.
                if (!whatFits) {
                    EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("old"), B("first")}));
                }
                faulty.FailWritesTo("a.lst", UINT32_MAX);
            }
            EXPECT_EQ(TakeWFileCloseFailures(), "");
            EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("old"), B("first")}));
            {
                WFile s("a.lst", SimpleMode::Append);
                s.WriteRecord(0, 5, "third");
                s.Close();
            }
            EXPECT_EQ(mem.files.Get("a.lst"), SimpleFile({B("old"), B("first"), B("third")}));
        }
    }
}

TEST(SimpleWhileWritten, AFailureAtClosingIsRaisedByCloseAndTheDestructorWritesNothing)
{
    ScopedMemFiles mem;
    FaultyStoreSystem faulty(mem.files);
    faulty.FailWritesTo("c.lst", UINT32_MAX);
    {
        WFile s("c.lst", SimpleMode::Create);
        s.BeginWriteRecords(0, "\r\n");
        s.WriteLogicalRecord("pending", 7);
        faulty.FailWritesTo("c.lst", 0);  // the disk is full when the buffer goes out
        EXPECT_EQ(CatchZError([&] { s.Close(); }).Number(), 99);
        EXPECT_EQ(CatchZError([&] { s.WriteRecord(0, 3, "abc"); }).Message(), "Файл c.lst закрыт");
        s.Close();
        faulty.FailWritesTo("c.lst", UINT32_MAX);
    }
    EXPECT_EQ(TakeWFileCloseFailures(), "") << "the caller heard it from Close";
    EXPECT_EQ(mem.files.Get("c.lst"), SimpleFile({})) << "an empty chain, readable";

    faulty.CountStepsOf("d.lst");
    {
        WFile s("d.lst", SimpleMode::Create);
        s.BeginWriteRecords(0, "\r\n");
        s.WriteLogicalRecord("line", 4);
        s.Close();
        EXPECT_EQ(mem.files.Get("d.lst"), SimpleFile({B("line\r\n")}));
        const uint32_t writes = faulty.Writes();
        EXPECT_EQ(CatchZError([&] { s.WriteLogicalRecord("late", 4); }).Number(), 0);
        EXPECT_EQ(faulty.Writes(), writes);
    }
    EXPECT_EQ(mem.files.Get("d.lst"), SimpleFile({B("line\r\n")})) << "the destructor wrote nothing";
    EXPECT_EQ(TakeWFileCloseFailures(), "");
}
