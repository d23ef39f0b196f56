#include <gtest/gtest.h>

#include "tests/support/KillAtFileOp.h"
#include "update/apply/FileOps.h"

TEST(FileOpGate, KillsAtTheNthOperationAndRestoresThePreviousGate)
{
    {
        KillAtFileOp outer;  // only counts
        {
            KillAtFileOp kill(3);
            PassFileOpGate(TFileOp::Create, "a");
            PassFileOpGate(TFileOp::Write, "a");
            try {
                PassFileOpGate(TFileOp::Rename, "a<b");
                FAIL() << "the third operation went through";
            } catch (const TEngineKilled &killed) {
                EXPECT_EQ(3u, killed.Operation);
                EXPECT_EQ(TFileOp::Rename, killed.Kind);
                EXPECT_EQ("a<b", killed.Name);
            }
            EXPECT_EQ(2u, kill.Passed());
            PassFileOpGate(TFileOp::Delete, "a");  // a dead program does nothing more; the gate kills once
        }
        PassFileOpGate(TFileOp::Delete, "a");
        EXPECT_EQ(1u, outer.Passed());
    }
    EXPECT_NO_THROW(PassFileOpGate(TFileOp::Delete, "a"));
}

TEST(FileOpGate, TheKillIsNoErrorTheEngineCatches)
{
    KillAtFileOp kill(1);
    bool caughtAsError = false;
    try {
        try {
            PassFileOpGate(TFileOp::Write, "x");
        } catch (const std::exception &) {
            caughtAsError = true;
        }
    } catch (const TEngineKilled &) {}
    EXPECT_FALSE(caughtAsError);
}
