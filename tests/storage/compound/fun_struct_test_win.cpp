// The field descriptions read from the storage file on disk, found through the CFG alias.
#include <gtest/gtest.h>

#include "base/input/fun_other.h"
#include "framework/runtime/Classes.h"
#include "storage/compound/drec.h"
#include "storage/compound/fun_struct.h"
#include "tests/support/CompoundFileBuilder.h"
#include "tests/support/ScopedAliases.h"
#include "tests/support/TempFolder.h"

using testdata::B;
using testdata::Bytes;

TEST(FieldDescriptionsOnDisk, ReadThroughTheCfgAlias)
{
    TempFolder temp;
    TScopedAliases aliases{{"CFG", temp.Path()}};
    Bytes description{3, 0, 'N', 'u', 'm', TabFieldType::Int};
    testdata::CompoundFileBuilder b(1);
    b.Commit(0, {B("h1"), B("h2"), description});
    const Bytes file = b.Build();
    WriteWholeFile(temp / "Riza.sfr", std::string(file.begin(), file.end()));

    TList list;
    WRec r;
    LoadFieldDescriptions(0, list, r);
    EXPECT_EQ(RizaFile, nullptr);
    ASSERT_EQ(list.Count(), 1);
    auto *field = static_cast<TZTabField *>(list[0]);
    EXPECT_EQ(field->Name, "Num");
    EXPECT_EQ(field->Type, TabFieldType::Int);
    delete field;
}
