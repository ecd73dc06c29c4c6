#include <gtest/gtest.h>

#include "base/segments.h"

namespace korvane {
namespace {

TEST(FindWayRect, EmptyListKeepsStartValues) {
  SegmentList list;
  BoundingRect r = FindWayRect(list);
  EXPECT_EQ(r.minX, 999999999999.0L);
  EXPECT_EQ(r.minY, 999999999999.0L);
  EXPECT_EQ(r.maxX, -999999999999.0L);
  EXPECT_EQ(r.maxY, -999999999999.0L);
}

TEST(FindWayRect, CoversBothEndsAndOneRow) {
  SegmentList list;
  list.append(5, 3, 2, 3);
  list.append(2, 3, 9, 3);
  BoundingRect r = FindWayRect(list);
  EXPECT_EQ(r.minX, 2);
  EXPECT_EQ(r.maxX, 9);
  EXPECT_EQ(r.minY, 3);
  EXPECT_EQ(r.maxY, 3);
}

TEST(SegmentList, RestoreUndoBringsBackRecordsAndCount) {
  SegmentList list;
  for (int i = 0; i < 5; ++i) list.append(i, 0, i + 1, 0);
  list.saveUndo();
  list[0].x1 = 42;
  list.setCount(2);
  list.restoreUndo();
  ASSERT_EQ(list.count(), 5);
  EXPECT_EQ(list[0].x1, 0);
  EXPECT_EQ(list[4].x2, 5);
}

TEST(SegmentList, GrowsPastOneBank) {
  SegmentList list;
  for (int i = 0; i < SegmentList::kBankSize + 10; ++i) list.append(i, i, i + 1, i);
  ASSERT_EQ(list.count(), SegmentList::kBankSize + 10);
  EXPECT_EQ(list[SegmentList::kBankSize + 9].x1, SegmentList::kBankSize + 9);
  list.saveUndo();
  list.clear();
  list.restoreUndo();
  EXPECT_EQ(list.count(), SegmentList::kBankSize + 10);
}

}  // namespace
}  // namespace korvane
