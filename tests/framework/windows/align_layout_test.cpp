#include <gtest/gtest.h>

#include "framework/windows/AlignLayout.h"

TEST(AlignLayout, TopAndBottomStackThenClientFillsTheRest)
{
    // A protocol window: a label on top, a list filling the window, a button panel at the bottom.
    std::vector<TAlignItem> items = {
        {alClient, Bounds(5, 5, 10, 10), true}, {alBottom, Bounds(0, 0, 50, 41), true},
        {alTop, Bounds(0, 0, 50, 13), true},    {alNone, Bounds(7, 8, 9, 10), true},
        {alCustom, Bounds(1, 2, 3, 4), true},  // placed by the control itself
    };
    auto r = LayoutAligned(Rect(0, 0, 700, 300), items);
    EXPECT_EQ(Rect(0, 13, 700, 259), r[0]);
    EXPECT_EQ(Rect(0, 259, 700, 300), r[1]);
    EXPECT_EQ(Rect(0, 0, 700, 13), r[2]);
    EXPECT_EQ(Bounds(7, 8, 9, 10), r[3]);
    EXPECT_EQ(Bounds(1, 2, 3, 4), r[4]);
}

TEST(AlignLayout, HiddenControlsTakeNoRoom)
{
    std::vector<TAlignItem> items = {
        {alBottom, Bounds(0, 0, 10, 40), false},
        {alClient, Bounds(0, 0, 10, 10), true},
    };
    auto r = LayoutAligned(Rect(0, 0, 100, 100), items);
    EXPECT_EQ(Bounds(0, 0, 10, 40), r[0]);
    EXPECT_EQ(Rect(0, 0, 100, 100), r[1]);
}

TEST(AlignLayout, SameSideControlsKeepTheirVisualOrder)
{
    // Two top panels: the one placed higher stays first; two left ones by their Left.
    std::vector<TAlignItem> items = {
        {alTop, Bounds(0, 30, 10, 20), true},  {alTop, Bounds(0, 0, 10, 10), true},
        {alRight, Bounds(90, 0, 5, 10), true}, {alLeft, Bounds(20, 0, 7, 10), true},
        {alLeft, Bounds(0, 0, 3, 10), true},
    };
    auto r = LayoutAligned(Rect(0, 0, 100, 100), items);
    EXPECT_EQ(Rect(0, 10, 100, 30), r[0]);
    EXPECT_EQ(Rect(0, 0, 100, 10), r[1]);
    EXPECT_EQ(Rect(95, 30, 100, 100), r[2]);
    EXPECT_EQ(Rect(3, 30, 10, 100), r[3]);
    EXPECT_EQ(Rect(0, 30, 3, 100), r[4]);
}

TEST(AlignLayout, TooSmallAParentNeverGivesNegativeSizes)
{
    std::vector<TAlignItem> items = {
        {alTop, Bounds(0, 0, 10, 80), true},
        {alBottom, Bounds(0, 0, 10, 80), true},
        {alClient, Bounds(0, 0, 10, 10), true},
    };
    auto r = LayoutAligned(Rect(0, 0, 50, 100), items);
    EXPECT_EQ(Rect(0, 0, 50, 80), r[0]);
    EXPECT_EQ(Rect(0, 20, 50, 100), r[1]);
    EXPECT_GE(r[2].Height(), 0);
    EXPECT_GE(r[2].Width(), 0);
}
