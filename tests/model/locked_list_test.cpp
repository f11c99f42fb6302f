#include "field/locked_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Ints = std::vector<int>;

// Records the order in which elements die.
Ints g_deleted;
struct Tracked
{
    int n = 0;
    ~Tracked() { g_deleted.push_back(n); }
};
using List = CLockedList<Tracked>;

// Adds nFirst to nLast through a list or an appender: every third element
// made apart and handed in by Append, the others made in the list's nodes.
template <class Adder>
void Add(Adder& adder, int nFirst, int nLast)
{
    for (int i = nFirst; i <= nLast; ++i) {
        if (i % 3 == 0)
            adder.Append(new Tracked{i});
        else
            adder.AddNew()->n = i;
    }
}

// The elements' numbers in list order.
Ints Numbers(const List& list)
{
    Ints numbers;
    list.VisitRange(0, list.GetCount(), [&numbers](const Tracked& t) { numbers.push_back(t.n); });
    return numbers;
}

TEST(LockedListTest, IndexingRemovalNodeReuseAndDeletionOrder)
{
    g_deleted.clear();
    Tracked* pOwned = new Tracked{7};
    {
        List list;
        EXPECT_EQ(list.GetAt(0), nullptr);
        Add(list, 1, 10);
        for (int i : {-1, 10}) {
            EXPECT_EQ(list.GetAt(i), nullptr);
            list.RemoveAt(i);
        }
        list.RemoveAt(0);
        list.RemoveAt(1);
        EXPECT_EQ(g_deleted, (Ints{1, 3}));
        // The two freed nodes take the next two elements, one each, before
        // the pool grows.
        Add(list, 11, 12);
        ASSERT_EQ(Numbers(list), (Ints{2, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        EXPECT_EQ(list.GetBlockCount(), 1);
        g_deleted.clear();
        list.RemoveAll();
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(g_deleted, (Ints{12, 11, 10, 9, 8, 7, 6, 5, 4, 2})) << "last to first, each once";
        // Neither emptying again nor the destructor deletes anything: the
        // destructor leaves its elements to their owner.
        g_deleted.clear();
        list.RemoveAll();
        list.Append(pOwned);
    }
    EXPECT_TRUE(g_deleted.empty());
    delete pOwned;
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

    // Elements without a destructor go with their blocks, down to the last.
    CLockedList<int> ints;
    *ints.AddNew() = 1;
    ints.RemoveAll();
    EXPECT_TRUE(ints.GetCount() == 0 && ints.GetBlockCount() == 0);
}

TEST(LockedListTest, AppenderVisitRangeReplaceAllAndThePool)
{
    g_deleted.clear();
    List list;
    {
        List::CAppender appender(list);
        Add(appender, 1, 12);
        // The lock is re-entrant: the appending thread may still read.
        EXPECT_EQ(list.GetAt(11)->n, 12);
    }
    EXPECT_TRUE(list.GetCount() == 12 && list.GetBlockCount() == 2);
    Ints seen;
    EXPECT_EQ(list.VisitRange(9, 5, [&](const Tracked& t) { seen.push_back(t.n); }), 3);
    EXPECT_EQ(seen, (Ints{10, 11, 12}));
    // A walk goes on from where a visit ended.
    list.VisitRange(5, 3, [](const Tracked&) {});
    EXPECT_EQ(list.GetAt(4)->n, 5);
    for (int i : {12, -1})
        EXPECT_EQ(list.VisitRange(i, 1, [](const Tracked&) { ADD_FAILURE(); }), 0);

    // The new elements replace the old ones, which die last to first; the
    // source is left empty and without blocks.
    List fresh;
    Add(fresh, 21, 23);
    list.ReplaceAll(fresh);
    EXPECT_EQ(g_deleted, (Ints{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_TRUE(fresh.GetCount() == 0 && fresh.GetBlockCount() == 0);
    EXPECT_TRUE(list.GetCount() == 3 && list.GetAt(2)->n == 23 && list.GetBlockCount() == 1);

    // Both lists go on working with the nodes they now have.
    fresh.AddNew()->n = 31;
    list.RemoveAt(1);
    list.AddNew()->n = 24;
    g_deleted.clear();
    list.RemoveAll();
    fresh.RemoveAll();
    EXPECT_EQ(g_deleted, (Ints{24, 23, 21, 31}));
    EXPECT_EQ(list.GetBlockCount(), 0);

    // The pool grows in blocks of ten; emptying by single removals releases
    // the blocks too.
    for (int i = 1; i <= 11; ++i) {
        Add(list, i, i);
        EXPECT_EQ(list.GetBlockCount(), i <= 10 ? 1 : 2) << i;
    }
    while (list.GetCount() > 0)
        list.RemoveAt(0);
    EXPECT_EQ(list.GetBlockCount(), 0);
}

// An element whose making fails leaves no node behind.
TEST(LockedListTest, AFailedElementGivesItsNodeBack)
{
    static bool bRefuse = true;
    struct Fussy
    {
        Fussy()
        {
            if (std::exchange(bRefuse, false))
                throw 1;
        }
    };
    CLockedList<Fussy> list;
    EXPECT_ANY_THROW(list.AddNew());
    for (int i = 0; i < 10; ++i)
        list.AddNew();
    EXPECT_TRUE(list.GetCount() == 10 && list.GetBlockCount() == 1);
    list.RemoveAll();
}

} // namespace
