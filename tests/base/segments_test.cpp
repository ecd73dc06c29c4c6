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

TEST(SegmentList, WithoutUndoCopiesOnlyTheCountIsSaved) {
  SegmentList list;
  list.append(1, 2, 3, 4);
  list.setUndoKept(false);
  list.saveUndo();
  EXPECT_EQ(list.savedCount(), 1);
  EXPECT_TRUE(list.undoBank().empty());
  EXPECT_THROW(list.restoreUndo(), std::logic_error);
  EXPECT_EQ(list.count(), 1);

  list.setUndoKept(true);
  EXPECT_EQ(list.savedCount(), 0);
  list.saveUndo();
  list[0].x1 = 9;
  list.append(5, 6, 7, 8);
  list.restoreUndo();
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list[0].x1, 1);
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

// Growing must keep every record a count once covered, including the ones
// past the current count, and records never written read as zero.
TEST(SegmentList, GrowthKeepsLeftoversAndZeroesTheRest) {
  SegmentList list;
  for (int i = 0; i < 10; ++i) list.append(i, i, i, i);
  list.setCount(3);
  list.reserve(4 * SegmentList::kBankSize);
  list.setCount(SegmentList::kBankSize + 5);
  EXPECT_EQ(list[2].x1, 2);
  EXPECT_EQ(list[9].y2, 9);  // a leftover past the old count
  EXPECT_EQ(list[10].x1, 0);
  EXPECT_FALSE(list[SegmentList::kBankSize + 4].done);
  EXPECT_EQ(list[SegmentList::kBankSize + 4].y2, 0);

  list[SegmentList::kBankSize + 1].done = true;
  list.setCount(1);
  const SegmentList copy = list;
  SegmentList grown = copy;
  grown.setCount(3 * SegmentList::kBankSize);  // past the copy's capacity: it moves
  for (const SegmentList* l : {&copy, static_cast<const SegmentList*>(&grown)}) {
    EXPECT_EQ(l->count() == 1, l == &copy);
    EXPECT_EQ((*l)[9].x2, 9);
    EXPECT_TRUE((*l)[SegmentList::kBankSize + 1].done);
  }
  EXPECT_EQ(grown[3 * SegmentList::kBankSize - 1].x1, 0);
}

}  // namespace
}  // namespace korvane
