#pragma once

#include "field/char_object.h"
#include "field/field_object.h"
#include "field/locked_list.h"

#include <atomic>
#include <cstdint>
#include <string>

// The player's snake: its own position is the head, the segment list the body
// (index 0 right behind the head). The direction is written by the window
// thread and read by the game loop at its next move.
class CSnake : public CFieldObject
{
public:
    enum Direction : int32_t { Up = 0, Right = 1, Down = 2, Left = 3 };

    CSnake();
    ~CSnake() override;

    void Reset();
    // The body follows the head, then the head advances one step.
    void Move();
    // Appends a segment made from the eaten tile, placed on the head.
    void AddSegment(CCharObject tile);

    int32_t GetSegmentCount() const { return m_segments.GetCount(); }
    // For the game loop, the only thread that deletes segments.
    CCharObject* GetSegment(int32_t nIndex) const { return m_segments.GetAt(nIndex); }
    // For other threads: copies segment nIndex under the list's lock.
    bool CopySegment(int32_t nIndex, CCharObject& out) const;
    // The segments' texts in body order: the answer as the player ate it.
    std::string GetText() const;
    void RemoveAllSegments() { m_segments.RemoveAll(); }

    int32_t GetDirection() const { return m_nDirection.load(); }
    void SetDirection(int32_t nDirection) { m_nDirection.store(nDirection); }

private:
    CLockedList<CCharObject> m_segments;
    std::atomic<int32_t> m_nDirection{Right};
};
