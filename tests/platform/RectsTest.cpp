// The rectangle calls hosts and CRect share: rectangles are half-open, so
// ones that only touch do not overlap, and an empty one counts for nothing
// in a union.
#include <gtest/gtest.h>

#include "platform/atl/Geometry.h"

namespace {

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

}  // namespace

TEST(RectsTest, IntersectionsAndUnions) {
    const struct {
        const char* what;
        RECT a, b;
        BOOL overlap;
        RECT both;    // IntersectRect's result
        RECT union_;  // UnionRect's result
    } cases[] = {
        {"overlapping", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}, {0, 0, 20, 20}},
        {"one inside the other", {0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {2, 2, 4, 4}, {0, 0, 10, 10}},
        {"touching edges", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}, {0, 0, 20, 10}},
        {"apart", {0, 0, 1, 1}, {5, 5, 6, 6}, FALSE, {0, 0, 0, 0}, {0, 0, 6, 6}},
        {"one empty", {0, 0, 0, 10}, {5, 5, 8, 8}, FALSE, {0, 0, 0, 0}, {5, 5, 8, 8}},
        {"one the wrong way round", {10, 10, 0, 0}, {1, 1, 2, 2}, FALSE, {0, 0, 0, 0}, {1, 1, 2, 2}},
        {"both empty", {3, 3, 3, 3}, {4, 4, 4, 9}, FALSE, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RECT out{7, 7, 7, 7};
        EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.overlap);
        EXPECT_TRUE(Same(out, c.both));
        RECT joined{7, 7, 7, 7};
        EXPECT_EQ(UnionRect(&joined, &c.a, &c.b), !IsRectEmpty(&c.union_));
        EXPECT_TRUE(Same(joined, c.union_));
        CRect member;
        member.UnionRect(&c.a, &c.b);
        EXPECT_EQ(member, c.union_);
    }
    EXPECT_FALSE(IntersectRect(nullptr, nullptr, nullptr));
    EXPECT_TRUE(IsRectEmpty(nullptr));
}

TEST(RectsTest, CRectMovesGrowsAndShrinks) {
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 17, 32, 63));
    r.DeflateRect(CSize(2, 3));
    EXPECT_EQ(r, CRect(10, 20, 30, 60));
    r.OffsetRect(-10, -20);
    EXPECT_EQ(r, CRect(0, 0, 20, 40));
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_FALSE(r.PtInRect(CPoint(20, 39)));  // the right edge lies outside
    r.DeflateRect(10, 0);
    EXPECT_TRUE(r.IsRectEmpty());
    r.SetRectEmpty();
    EXPECT_EQ(r, CRect());
}
