// The grid-table tests run with the library started, as every program that links it does.
#include <gtest/gtest.h>

#include "controls/ControlsRun.h"
#include "gridtable/GridTableRun.h"

namespace {
class GridTableEnvironment : public ::testing::Environment {
public:
    void SetUp() override { StartGridTable(); }
    void TearDown() override { StopGridTable(); }
};
[[maybe_unused]] const ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new GridTableEnvironment);
}  // namespace

TEST(GridTableRun, StartsTheControlsAndNests)
{
    EXPECT_TRUE(GridTableStarted());
    EXPECT_TRUE(ControlsStarted());
    StartGridTable();
    StopGridTable();  // an inner pair leaves both running
    EXPECT_TRUE(GridTableStarted());
    EXPECT_TRUE(ControlsStarted());
}
