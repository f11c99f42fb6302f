#include "field/locked_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the order in which elements die.
std::vector<int> g_deleted;
struct Tracked
{
    int n = 0;
    ~Tracked() { g_deleted.push_back(n); }
};
using Ints = std::vector<int>;

Tracked* Heap(int n)
{
    auto* p = new Tracked;
    p->n = n;
    return p;
}

TEST(LockedListTest, IndexingRemovalAndDeletionOrder)
{
    g_deleted.clear();
    Tracked* pOwned = Heap(7);
    {
        CLockedList<Tracked> list;
        EXPECT_EQ(list.GetAt(0), nullptr);
        // Elements in the list's nodes and elements handed in by Append.
        for (int i = 1; i <= 25; ++i) {
            if (i % 3 == 0)
                list.Append(Heap(i));
            else
                list.AddNew()->n = i;
        }
        EXPECT_EQ(list.GetAt(-1), nullptr);
        EXPECT_EQ(list.GetAt(25), nullptr);
        list.RemoveAt(25);
        list.RemoveAt(-1);
        list.RemoveAt(0);
        list.RemoveAt(1);
        EXPECT_EQ(g_deleted, (Ints{1, 3}));
        EXPECT_EQ(list.GetCount(), 23);
        EXPECT_EQ(list.GetAt(0)->n, 2);
        EXPECT_EQ(list.GetAt(1)->n, 4);
        list.AddNew()->n = 26;
        g_deleted.clear();
        list.RemoveAll();
        EXPECT_EQ(list.GetCount(), 0);
        Ints expected;
        for (int i = 26; i >= 2; --i) {
            if (i != 3)
                expected.push_back(i);
        }
        EXPECT_EQ(g_deleted, expected) << "last to first, each once";
        list.RemoveAll();
        g_deleted.clear();

        // The destructor leaves its elements to their owner.
        list.Append(pOwned);
    }
    EXPECT_TRUE(g_deleted.empty());
    delete pOwned;
}

TEST(LockedListTest, PoolGrowsInBlocksOfTenAndIsReleasedWhenEmpty)
{
    CLockedList<Tracked> list;
    EXPECT_EQ(list.GetBlockCount(), 0);
    for (int i = 0; i < 10; ++i)
        list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 1);
    list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 2);
    list.RemoveAll();
    EXPECT_EQ(list.GetBlockCount(), 0);

    // A removed node is reused before the pool grows again, and emptying by
    // single removals releases the blocks too.
    for (int i = 0; i < 10; ++i)
        list.AddNew();
    list.RemoveAt(3);
    list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 1);
    while (list.GetCount() > 0)
        list.RemoveAt(0);
    EXPECT_EQ(list.GetBlockCount(), 0);
}

TEST(LockedListTest, IndexedWalksStayConsistentAfterRemovals)
{
    // The list remembers its last visited node; removals around it must not
    // make a later lookup land on the wrong element.
    CLockedList<std::string> list;
    std::vector<std::string> expected;
    for (int i = 0; i < 57; ++i)
        expected.push_back(*list.AddNew() = std::to_string(i));
    for (int round = 0; round < 20; ++round) {
        const int size = static_cast<int>(expected.size());
        const int victim = (round * 7) % size;
        ASSERT_EQ(*list.GetAt(victim), expected[victim]);
        ASSERT_EQ(*list.GetAt((victim + 1) % size), expected[(victim + 1) % size]);
        list.RemoveAt(victim);
        expected.erase(expected.begin() + victim);
        for (int i = size - 2; i >= 0; i -= 3)
            ASSERT_EQ(*list.GetAt(i), expected[i]) << "round " << round << " index " << i;
        for (int i = 0; i < size - 1; ++i)
            ASSERT_EQ(*list.GetAt(i), expected[i]) << "round " << round << " index " << i;
    }
    std::string copied;
    EXPECT_TRUE(list.VisitAt(0, [&](const std::string& s) { copied = s; }));
    EXPECT_EQ(copied, expected[0]);
    EXPECT_FALSE(list.VisitAt(static_cast<int>(expected.size()), [](const std::string&) {}));
}

TEST(LockedListTest, AppenderVisitRangeAndReplaceAll)
{
    g_deleted.clear();
    CLockedList<Tracked> list;
    {
        CLockedList<Tracked>::CAppender appender(list);
        for (int i = 1; i <= 12; ++i) {
            if (i % 4 == 0)
                appender.Append(Heap(i));
            else
                appender.AddNew()->n = i;
        }
        // The lock is re-entrant: the appending thread may still read.
        EXPECT_EQ(list.GetAt(11)->n, 12);
    }
    EXPECT_EQ(list.GetCount(), 12);
    EXPECT_EQ(list.GetBlockCount(), 2);

    Ints seen;
    EXPECT_EQ(list.VisitRange(9, 5, [&](const Tracked& t) { seen.push_back(t.n); }), 3);
    EXPECT_EQ(seen, (Ints{10, 11, 12}));
    EXPECT_EQ(list.VisitRange(12, 1, [](const Tracked&) { ADD_FAILURE(); }), 0);
    EXPECT_EQ(list.VisitRange(-1, 1, [](const Tracked&) { ADD_FAILURE(); }), 0);

    // The new elements replace the old ones, which die last to first; the
    // source is left empty and without blocks.
    CLockedList<Tracked> fresh;
    for (int i = 21; i <= 23; ++i)
        fresh.AddNew()->n = i;
    list.ReplaceAll(fresh);
    EXPECT_EQ(g_deleted, (Ints{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(fresh.GetCount(), 0);
    EXPECT_EQ(fresh.GetBlockCount(), 0);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetBlockCount(), 1);

    // Both lists go on working with the nodes they now have.
    fresh.AddNew()->n = 31;
    list.RemoveAt(1);
    list.AddNew()->n = 24;
    g_deleted.clear();
    list.RemoveAll();
    fresh.RemoveAll();
    EXPECT_EQ(g_deleted, (Ints{24, 23, 21, 31}));
    EXPECT_EQ(list.GetBlockCount(), 0);
}

} // namespace
