#pragma once

#include "platform/point.h"
#include "platform/rect.h"

#include <atomic>
#include <cstdint>

// Anything that sits on the play field: a centre, a size and a pair of step
// lengths. The game loop moves objects while the window thread reads them, so
// every value is an atomic; a reader may see one step's x with another's y,
// which the next repaint corrects.
class CFieldObject
{
public:
    virtual ~CFieldObject() = default;

    virtual Rect GetRect() const;
    virtual Point GetPosition() const;
    virtual void SetPosition(int32_t x, int32_t y);
    virtual void SetPosition(Point pt);
    virtual void SetX(int32_t x);
    virtual void SetY(int32_t y);
    virtual void Offset(int32_t dx, int32_t dy);
    virtual void StepLeft();
    virtual void StepRight();
    virtual void StepUp();
    virtual void StepDown();
    virtual void StepDownRight();
    virtual int32_t GetWidth() const;
    virtual void SetWidth(int32_t nWidth);
    virtual int32_t GetHeight() const;
    virtual void SetHeight(int32_t nHeight);

    // Integer part of the Euclidean distance between the two centres.
    int32_t Distance(const CFieldObject& other) const;
    // True when the rectangles overlap; touching edges do not count.
    bool Intersects(const CFieldObject& other) const;

    double GetStepX() const { return m_dStepX.load(std::memory_order_relaxed); }
    double GetStepY() const { return m_dStepY.load(std::memory_order_relaxed); }
    void SetSteps(double dStepX, double dStepY);

protected:
    CFieldObject() = default;
    CFieldObject(const CFieldObject& other);
    CFieldObject& operator=(const CFieldObject& other);

    std::atomic<int32_t> m_x{0};
    std::atomic<int32_t> m_y{0};
    std::atomic<int32_t> m_nWidth{10};
    std::atomic<int32_t> m_nHeight{10};
    std::atomic<double> m_dStepX{1.0};
    std::atomic<double> m_dStepY{1.0};
    // A drawing offset that GetRect adds; nothing in the game sets one, so
    // every rectangle is centred on its object.
    std::atomic<int32_t> m_nOffsetX{0};
    std::atomic<int32_t> m_nOffsetY{0};
};
