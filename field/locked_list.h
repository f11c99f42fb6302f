#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// An ordered list of owned heap objects shared between the window thread and
// the game loop. Every operation but GetCount runs under the list's own
// re-entrant lock. RemoveAt and RemoveAll delete the elements; the destructor
// does not, so an owner empties the list before it goes away.
//
// Nodes come from a pool that grows in blocks of ten and is released whenever
// the list becomes empty. An element made by AddNew lives inside its node, so
// that a list of many small elements (the cells of a question file) costs no
// allocation per element; like any element, it lasts until it is removed. The
// list remembers the node it last visited, so that walking it in index order
// costs one step per element instead of a walk from the head each time.
template <class T>
class CLockedList
{
public:
    static constexpr int32_t kBlockSize = 10;

    CLockedList() = default;
    CLockedList(const CLockedList&) = delete;
    CLockedList& operator=(const CLockedList&) = delete;

    virtual ~CLockedList()
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        ReleaseBlocks();
    }

    // Creates a default-constructed element at the tail and returns it.
    T* AddNew()
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        return AddNewLocked();
    }

    // Takes ownership of p and appends it at the tail.
    void Append(T* p)
    {
        std::unique_ptr<T> owned(p);
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        AppendLocked(owned.release());
    }

    // The element at the index, or nullptr. The pointer stays valid only until
    // the element is removed; another thread may do that at any moment.
    T* GetAt(int32_t nIndex) const
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        Node* pNode = FindNode(nIndex);
        return pNode ? pNode->Data() : nullptr;
    }

    // Calls fn(const T&) with the element at the index while the lock is held,
    // so that a reader on another thread can copy what it needs before the
    // element can be deleted. False when there is no such element.
    template <class F>
    bool VisitAt(int32_t nIndex, F&& fn) const
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        Node* pNode = FindNode(nIndex);
        if (!pNode)
            return false;
        fn(static_cast<const T&>(*pNode->Data()));
        return true;
    }

    // Calls fn(const T&) with the elements from the index on, at most nCount
    // of them, in order, all under one locking; fn must not remove any.
    // Returns how many it visited: none when the index is outside the list.
    template <class F>
    int32_t VisitRange(int32_t nIndex, int32_t nCount, F&& fn) const
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        Node* pNode = FindNode(nIndex);
        int32_t nVisited = 0;
        for (; pNode && nVisited < nCount; ++nVisited) {
            fn(static_cast<const T&>(*pNode->Data()));
            // The next walk most likely goes on from here.
            m_pCursor = pNode;
            m_nCursor = nIndex + nVisited;
            pNode = pNode->pNext;
        }
        return nVisited;
    }

    // Read without the lock: the list may change right after.
    int32_t GetCount() const { return m_nCount.load(std::memory_order_acquire); }

    void RemoveAt(int32_t nIndex)
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        Node* pNode = FindNode(nIndex);
        if (!pNode)
            return;
        Node* pPrev = pNode->Prev();
        Node* pNext = pNode->pNext;
        if (pPrev)
            pPrev->pNext = pNext;
        else
            m_pHead = pNext;
        if (pNext)
            pNext->SetPrev(pPrev);
        else
            m_pTail = pPrev;
        if (m_nCursor == nIndex)
            m_pCursor = nullptr;
        else if (m_nCursor > nIndex)
            --m_nCursor;
        DeleteElement(pNode);
        FreeNode(pNode);
    }

    // Deletes every element, last to first.
    void RemoveAll()
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        RemoveAllLocked();
    }

    // Deletes every element, last to first, and takes over every element of
    // other in its order, leaving other empty: a reader sees either the old
    // elements or the new ones, never a mix. The two lists' locks are taken
    // one after the other, never together. Allocates nothing.
    void ReplaceAll(CLockedList& other)
    {
        if (&other == this)
            return;
        CLockedList taken;
        {
            std::lock_guard<std::recursive_mutex> lock(other.m_cs);
            taken.SwapContents(other);
        }
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        RemoveAllLocked();
        if (m_nCount.load(std::memory_order_relaxed) == 0)
            ReleaseBlocks(); // also what a failed AddNew left
        SwapContents(taken);
    }

    // Holds the list's lock for its whole life, so that many elements can be
    // appended for the price of one locking. Other threads wait meanwhile;
    // the owning thread may still call the list (the lock is re-entrant).
    class CAppender
    {
    public:
        explicit CAppender(CLockedList& list) : m_list(list), m_lock(list.m_cs) {}
        CAppender(const CAppender&) = delete;
        CAppender& operator=(const CAppender&) = delete;

        // As the list's AddNew and Append, without taking the lock again.
        T* AddNew() { return m_list.AddNewLocked(); }
        void Append(T* p) { m_list.AppendLocked(p); }

    private:
        CLockedList& m_list;
        std::lock_guard<std::recursive_mutex> m_lock;
    };

    // Number of node blocks the pool holds now.
    int32_t GetBlockCount() const
    {
        std::lock_guard<std::recursive_mutex> lock(m_cs);
        return m_nBlocks;
    }

private:
    void RemoveAllLocked()
    {
        // Elements that live in their nodes and need no destructor go with
        // the blocks: walking a long list of cells only to unlink it would
        // cost as much as building it.
        if (std::is_trivially_destructible<T>::value && m_nHeapElements == 0) {
            SetCount(0);
            ReleaseBlocks();
            return;
        }
        while (m_nCount.load(std::memory_order_relaxed) > 0) {
            Node* pNode = m_pTail;
            m_pTail = pNode->Prev();
            if (m_pTail)
                m_pTail->pNext = nullptr;
            else
                m_pHead = nullptr;
            m_pCursor = nullptr;
            DeleteElement(pNode);
            FreeNode(pNode);
        }
    }

    // Exchanges elements and pools; both locks are the caller's concern. Only
    // the list being emptied may be seen by other threads meanwhile.
    void SwapContents(CLockedList& other) noexcept
    {
        std::swap(m_pHead, other.m_pHead);
        std::swap(m_pTail, other.m_pTail);
        std::swap(m_pFree, other.m_pFree);
        m_slabs.swap(other.m_slabs);
        std::swap(m_pSlabFree, other.m_pSlabFree);
        std::swap(m_nSlabLeft, other.m_nSlabLeft);
        std::swap(m_nBlockLeft, other.m_nBlockLeft);
        std::swap(m_nBlocks, other.m_nBlocks);
        std::swap(m_nHeapElements, other.m_nHeapElements);
        const int32_t nCount = m_nCount.load(std::memory_order_relaxed);
        SetCount(other.m_nCount.load(std::memory_order_relaxed));
        other.SetCount(nCount);
        m_pCursor = other.m_pCursor = nullptr;
    }

    T* AddNewLocked()
    {
        Node* pNode = TakeFreeNode();
        T* pData;
        try {
            pData = new (pNode->aStorage) T();
        } catch (...) {
            ReturnFreeNode(pNode);
            throw;
        }
        LinkTail(pNode, true);
        return pData;
    }

    void AppendLocked(T* p)
    {
        std::unique_ptr<T> owned(p);
        Node* pNode = TakeFreeNode();
        pNode->pData = owned.release();
        LinkTail(pNode, false);
        ++m_nHeapElements;
    }

    // An element made by AddNew lives in the node itself; one handed in by
    // Append is reached through pData, which shares the room. The lowest bit
    // of the link to the previous node tells which (nodes are aligned).
    struct Node
    {
        Node* pNext;
        uintptr_t nPrev;
        union {
            T* pData;
            alignas(T) unsigned char aStorage[sizeof(T)];
        };

        Node* Prev() const { return reinterpret_cast<Node*>(nPrev & ~kInNode); }
        void SetPrev(Node* p) { nPrev = reinterpret_cast<uintptr_t>(p) | (nPrev & kInNode); }
        bool IsInNode() const { return (nPrev & kInNode) != 0; }
        T* Data() { return IsInNode() ? std::launder(reinterpret_cast<T*>(aStorage)) : pData; }
    };
    static constexpr uintptr_t kInNode = 1;
    static_assert(alignof(Node) > 1, "the lowest bit of a node's address must be free");

    // Most blocks a slab holds: a long list allocates a few large pieces of
    // memory instead of one per block, a short one no more than it needs.
    static constexpr int32_t kMaxSlabBlocks = 256;

    Node* TakeFreeNode()
    {
        if (m_pFree) {
            Node* pNode = m_pFree;
            m_pFree = pNode->pNext;
            return pNode;
        }
        if (m_nBlockLeft == 0) {
            if (m_nSlabLeft < kBlockSize) {
                // Each slab holds as many blocks as the list had so far, so
                // at most half of what is allocated is still unused.
                const int32_t nBlocks = std::min(std::max(m_nBlocks, 1), kMaxSlabBlocks);
                const size_t nNodes = static_cast<size_t>(nBlocks) * kBlockSize;
                if (m_slabs.size() == m_slabs.capacity())
                    m_slabs.reserve(m_slabs.empty() ? 4 : 2 * m_slabs.size());
                m_slabs.emplace_back(new Node[nNodes]);
                m_pSlabFree = m_slabs.back().get();
                m_nSlabLeft = nNodes;
            }
            // The pool grows by one block, whose nodes are handed out in
            // order before the free chain is needed again.
            m_nSlabLeft -= kBlockSize;
            m_nBlockLeft = kBlockSize;
            ++m_nBlocks;
        }
        --m_nBlockLeft;
        return m_pSlabFree++;
    }

    // Gives back a node that TakeFreeNode handed out but that was never linked.
    void ReturnFreeNode(Node* pNode)
    {
        pNode->pNext = m_pFree;
        m_pFree = pNode;
    }

    void LinkTail(Node* pNode, bool bInNode)
    {
        pNode->pNext = nullptr;
        pNode->nPrev = reinterpret_cast<uintptr_t>(m_pTail) | (bInNode ? kInNode : 0);
        if (m_pTail)
            m_pTail->pNext = pNode;
        else
            m_pHead = pNode;
        m_pTail = pNode;
        SetCount(m_nCount.load(std::memory_order_relaxed) + 1);
    }

    void DeleteElement(Node* pNode)
    {
        if (pNode->IsInNode()) {
            pNode->Data()->~T();
        } else {
            --m_nHeapElements;
            delete pNode->pData;
        }
    }

    void FreeNode(Node* pNode)
    {
        pNode->pNext = m_pFree;
        m_pFree = pNode;
        const int32_t nCount = m_nCount.load(std::memory_order_relaxed) - 1;
        SetCount(nCount);
        if (nCount == 0)
            ReleaseBlocks();
    }

    // Only ever called with the lock held, so a plain store publishes the
    // count: a locked read-modify-write would wait for every pending store
    // to the fresh nodes and cost more than the rest of the append.
    void SetCount(int32_t nCount) { m_nCount.store(nCount, std::memory_order_release); }

    void ReleaseBlocks()
    {
        m_slabs.clear();
        m_pSlabFree = nullptr;
        m_nSlabLeft = 0;
        m_nBlockLeft = 0;
        m_nBlocks = 0;
        m_pFree = nullptr;
        m_pHead = m_pTail = nullptr;
        m_pCursor = nullptr;
        m_nHeapElements = 0;
    }

    // Walks from whichever of head, tail and the last visited node is nearest.
    Node* FindNode(int32_t nIndex) const
    {
        const int32_t nCount = m_nCount.load(std::memory_order_relaxed);
        if (nIndex < 0 || nIndex >= nCount)
            return nullptr;
        Node* pNode = m_pHead;
        int32_t nAt = 0;
        if (nCount - 1 - nIndex < nIndex) {
            pNode = m_pTail;
            nAt = nCount - 1;
        }
        if (m_pCursor && Distance(m_nCursor, nIndex) < Distance(nAt, nIndex)) {
            pNode = m_pCursor;
            nAt = m_nCursor;
        }
        for (; nAt < nIndex; ++nAt)
            pNode = pNode->pNext;
        for (; nAt > nIndex; --nAt)
            pNode = pNode->Prev();
        m_pCursor = pNode;
        m_nCursor = nIndex;
        return pNode;
    }

    static int32_t Distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

    mutable std::recursive_mutex m_cs;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    Node* m_pFree = nullptr;
    // The memory of the node blocks, carved from larger slabs.
    std::vector<std::unique_ptr<Node[]>> m_slabs;
    // The next node of the newest block never handed out, and how many of
    // those are left, in the block and in its slab beyond the block.
    Node* m_pSlabFree = nullptr;
    int32_t m_nBlockLeft = 0;
    size_t m_nSlabLeft = 0;
    int32_t m_nBlocks = 0;
    std::atomic<int32_t> m_nCount{0};
    mutable Node* m_pCursor = nullptr;
    mutable int32_t m_nCursor = -1;
    // Elements handed in by Append, which live outside their nodes.
    int32_t m_nHeapElements = 0;
};
