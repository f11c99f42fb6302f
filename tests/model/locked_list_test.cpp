#include "field/locked_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the order in which elements die.
struct Tracked
{
    static std::vector<int>* s_pLog;
    int n = 0;
    ~Tracked()
    {
        if (s_pLog)
            s_pLog->push_back(n);
    }
};
std::vector<int>* Tracked::s_pLog = nullptr;

class LockedListTest : public ::testing::Test
{
protected:
    void SetUp() override { Tracked::s_pLog = &m_deleted; }
    void TearDown() override { Tracked::s_pLog = nullptr; }
    std::vector<int> m_deleted;
};

TEST_F(LockedListTest, IndexingReturnsNoneOutsideTheList)
{
    CLockedList<Tracked> list;
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    Tracked* a = list.AddNew();
    a->n = 1;
    Tracked* b = list.AddNew();
    b->n = 2;
    EXPECT_EQ(list.GetAt(0), a);
    EXPECT_EQ(list.GetAt(1), b);
    EXPECT_EQ(list.GetAt(2), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);

    list.RemoveAt(0);
    EXPECT_EQ(m_deleted, std::vector<int>{1});
    EXPECT_EQ(list.GetAt(0), b);
    EXPECT_EQ(list.GetCount(), 1);
    list.RemoveAt(5);
    list.RemoveAt(-1);
    EXPECT_EQ(list.GetCount(), 1);
    list.RemoveAll();
}

TEST_F(LockedListTest, RemoveAllDeletesLastToFirst)
{
    CLockedList<Tracked> list;
    list.RemoveAll();
    for (int i = 1; i <= 3; ++i)
        list.AddNew()->n = i;
    list.RemoveAll();
    EXPECT_EQ(m_deleted, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(LockedListTest, PoolGrowsInBlocksOfTenAndIsReleasedWhenEmpty)
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

    // A removed node is reused before the pool grows again.
    for (int i = 0; i < 10; ++i)
        list.AddNew();
    list.RemoveAt(3);
    list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 1);
    // Emptying by single removals releases the blocks too.
    while (list.GetCount() > 0)
        list.RemoveAt(0);
    EXPECT_EQ(list.GetBlockCount(), 0);
}

TEST_F(LockedListTest, DestructorLeavesElementsToTheOwner)
{
    auto* pElement = new Tracked;
    pElement->n = 7;
    {
        CLockedList<Tracked> list;
        list.Append(pElement);
    }
    EXPECT_TRUE(m_deleted.empty());
    delete pElement;
    EXPECT_EQ(m_deleted, std::vector<int>{7});
}

TEST_F(LockedListTest, IndexedWalksStayConsistentAfterRemovals)
{
    // The list remembers its last visited node; removals around it must not
    // make a later lookup land on the wrong element.
    CLockedList<std::string> list;
    std::vector<std::string> expected;
    for (int i = 0; i < 57; ++i) {
        *list.AddNew() = std::to_string(i);
        expected.push_back(std::to_string(i));
    }
    for (int round = 0; round < 20; ++round) {
        const int victim = (round * 7) % static_cast<int>(expected.size());
        ASSERT_EQ(*list.GetAt(victim), expected[victim]);
        ASSERT_EQ(*list.GetAt(victim + 1 < (int)expected.size() ? victim + 1 : 0),
                  expected[victim + 1 < (int)expected.size() ? victim + 1 : 0]);
        list.RemoveAt(victim);
        expected.erase(expected.begin() + victim);
        for (int i = static_cast<int>(expected.size()) - 1; i >= 0; i -= 3)
            ASSERT_EQ(*list.GetAt(i), expected[i]) << "round " << round << " index " << i;
        for (int i = 0; i < static_cast<int>(expected.size()); ++i)
            ASSERT_EQ(*list.GetAt(i), expected[i]) << "round " << round << " index " << i;
    }
    std::string copied;
    EXPECT_TRUE(list.VisitAt(0, [&](const std::string& s) { copied = s; }));
    EXPECT_EQ(copied, expected[0]);
    EXPECT_FALSE(list.VisitAt(static_cast<int>(expected.size()), [&](const std::string&) {}));
    list.RemoveAll();
}

TEST_F(LockedListTest, AppenderAndReplaceAllKeepOrderOwnershipAndBlocks)
{
    CLockedList<Tracked> list;
    {
        CLockedList<Tracked>::CAppender appender(list);
        for (int i = 1; i <= 12; ++i) {
            if (i % 4 == 0) {
                auto* p = new Tracked;
                p->n = i;
                appender.Append(p);
            } else {
                appender.AddNew()->n = i;
            }
        }
        // The lock is re-entrant: the appending thread may still read.
        EXPECT_EQ(list.GetAt(11)->n, 12);
    }
    EXPECT_EQ(list.GetCount(), 12);
    EXPECT_EQ(list.GetBlockCount(), 2);

    std::vector<int> seen;
    EXPECT_EQ(list.VisitRange(9, 5, [&](const Tracked& t) { seen.push_back(t.n); }), 3);
    EXPECT_EQ(seen, (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(list.VisitRange(12, 1, [&](const Tracked&) { ADD_FAILURE(); }), 0);
    EXPECT_EQ(list.VisitRange(-1, 1, [&](const Tracked&) { ADD_FAILURE(); }), 0);
    EXPECT_EQ(list.GetAt(8)->n, 9);

    // The new elements replace the old ones, which die last to first; the
    // source is left empty and without blocks.
    CLockedList<Tracked> fresh;
    for (int i = 21; i <= 23; ++i)
        fresh.AddNew()->n = i;
    list.ReplaceAll(fresh);
    EXPECT_EQ(m_deleted, (std::vector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(fresh.GetCount(), 0);
    EXPECT_EQ(fresh.GetBlockCount(), 0);
    EXPECT_EQ(fresh.GetAt(0), nullptr);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetBlockCount(), 1);
    EXPECT_EQ(list.GetAt(2)->n, 23);
    EXPECT_EQ(list.GetAt(0)->n, 21);

    // Both lists go on working with the nodes they now have.
    fresh.AddNew()->n = 31;
    list.RemoveAt(1);
    list.AddNew()->n = 24;
    EXPECT_EQ(list.GetAt(1)->n, 23);
    EXPECT_EQ(list.GetAt(2)->n, 24);
    m_deleted.clear();
    list.RemoveAll();
    fresh.RemoveAll();
    EXPECT_EQ(m_deleted, (std::vector<int>{24, 23, 21, 31}));
    EXPECT_EQ(list.GetBlockCount(), 0);
}

} // namespace
