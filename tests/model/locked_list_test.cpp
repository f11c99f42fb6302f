#include "field/locked_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
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
    for (int i = nFirst; i <= nLast; ++i)
        i % 3 ? void(adder.AddNew()->n = i) : adder.Append(new Tracked{i});
}

// The elements looked up by index, back from the tail: each lookup starts
// from the nearest of head, tail and the last node found.
Ints LookedUp(const List& list)
{
    Ints found(list.GetCount());
    for (int i = list.GetCount() - 1; i >= 0; --i)
        found[i] = list.GetAt(i)->n;
    return found;
}

TEST(LockedListTest, ElementsDieLastToFirstNodesAreReusedOrGivenBackAndLookupsStayRight)
{
    g_deleted.clear();
    List list;
    {
        List::CAppender appender(list);
        Add(appender, 1, 10);
        // The lock is re-entrant: the appending thread may still read.
        EXPECT_EQ(list.GetAt(9)->n, 10);
    }
    EXPECT_TRUE(list.GetAt(-1) == nullptr && list.GetAt(10) == nullptr);
    list.RemoveAt(-1);
    list.RemoveAt(10);
    list.RemoveAt(0);
    list.RemoveAt(1);
    EXPECT_EQ(g_deleted, (Ints{1, 3}));
    // The two freed nodes take the next two elements before the pool grows
    // by a block of ten.
    Add(list, 11, 12);
    EXPECT_EQ(list.GetBlockCount(), 1);
    Add(list, 13, 13);
    EXPECT_EQ(list.GetBlockCount(), 2);
    EXPECT_EQ(LookedUp(list), (Ints{2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));

    Ints seen;
    EXPECT_EQ(list.VisitRange(8, 5, [&](const Tracked& t) { seen.push_back(t.n); }), 3);
    EXPECT_EQ(seen, (Ints{11, 12, 13}));
    // A walk goes on from where a visit ended.
    list.VisitRange(5, 3, [](const Tracked&) {});
    EXPECT_EQ(list.GetAt(4)->n, 7);
    int nCopied = 0;
    EXPECT_TRUE(list.VisitAt(0, [&](const Tracked& t) { nCopied = t.n; }) && nCopied == 2);
    EXPECT_FALSE(list.VisitAt(11, [](const Tracked&) {}));

    // The new elements replace the old ones, which die last to first; the
    // source is left empty and without blocks, and both lists go on working
    // with the nodes they now have, the source's lookups too.
    List fresh;
    Add(fresh, 21, 23);
    fresh.GetAt(1);
    g_deleted.clear();
    list.ReplaceAll(fresh);
    EXPECT_EQ(g_deleted, (Ints{13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 2}));
    EXPECT_TRUE(fresh.GetCount() == 0 && fresh.GetBlockCount() == 0);
    EXPECT_TRUE(list.GetCount() == 3 && list.GetAt(2)->n == 23 && list.GetBlockCount() == 1);
    Add(fresh, 31, 33);
    EXPECT_EQ(fresh.GetAt(1)->n, 32);

    // Removals around the last node found must not make a later lookup land
    // on the wrong element.
    Add(list, 24, 41);
    Ints expected(21);
    std::iota(expected.begin(), expected.end(), 21);
    for (int nRound = 0; expected.size() > 1; ++nRound) {
        const int nVictim = nRound * 7 % static_cast<int>(expected.size() - 1);
        list.RemoveAt(nVictim);
        expected.erase(expected.begin() + nVictim);
        ASSERT_EQ(list.GetAt(nVictim)->n, expected[nVictim]) << nRound;
        ASSERT_EQ(LookedUp(list), expected) << nRound;
    }

    // Emptying deletes each element once and releases the blocks.
    g_deleted.clear();
    list.RemoveAll();
    fresh.RemoveAll();
    list.RemoveAll();
    EXPECT_EQ(g_deleted, (Ints{expected[0], 33, 32, 31}));
    EXPECT_EQ(list.GetBlockCount() + fresh.GetBlockCount(), 0);
    Add(list, 7, 7); // three blocks left one over in their last slab: released too
    EXPECT_EQ(list.GetAt(0)->n, 7);

    // The destructor leaves its elements to their owner.
    const auto pOwned = std::make_unique<Tracked>();
    std::make_unique<List>()->Append(pOwned.get());
    EXPECT_EQ(g_deleted.size(), 4u);

    // Elements without a destructor go with their blocks, and the list
    // starts afresh; an element whose making fails leaves no node behind.
    static bool bRefuse = false;
    struct Fussy
    {
        Fussy() { if (std::exchange(bRefuse, false)) throw 1; }
    };
    CLockedList<Fussy> plain;
    plain.AddNew();
    plain.RemoveAll();
    EXPECT_TRUE(plain.GetCount() == 0 && plain.GetBlockCount() == 0);
    bRefuse = true;
    EXPECT_ANY_THROW(plain.AddNew());
    const Fussy* pFirst = plain.AddNew();
    for (int i = 1; i < 10; ++i)
        plain.AddNew();
    EXPECT_TRUE(plain.GetCount() == 10 && plain.GetBlockCount() == 1 && plain.GetAt(0) == pFirst);
}

} // namespace
