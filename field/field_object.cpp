#include "field/field_object.h"

#include <cmath>

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

template <class A>
void CopyValue(A& to, const A& from)
{
    to.store(from.load(kRelaxed), kRelaxed);
}

} // namespace

CFieldObject::CFieldObject(const CFieldObject& other)
{
    *this = other;
}

CFieldObject& CFieldObject::operator=(const CFieldObject& other)
{
    CopyValue(m_x, other.m_x);
    CopyValue(m_y, other.m_y);
    CopyValue(m_nWidth, other.m_nWidth);
    CopyValue(m_nHeight, other.m_nHeight);
    CopyValue(m_dStepX, other.m_dStepX);
    CopyValue(m_dStepY, other.m_dStepY);
    CopyValue(m_nOffsetX, other.m_nOffsetX);
    CopyValue(m_nOffsetY, other.m_nOffsetY);
    return *this;
}

Rect CFieldObject::GetRect() const
{
    // Integer division truncates toward zero, as the halves must.
    const int32_t x = m_x.load(kRelaxed);
    const int32_t y = m_y.load(kRelaxed);
    const int32_t halfW = m_nWidth.load(kRelaxed) / 2;
    const int32_t halfH = m_nHeight.load(kRelaxed) / 2;
    Rect rc{x - halfW, y - halfH, x + halfW, y + halfH};
    OffsetRect(rc, m_nOffsetX.load(kRelaxed), m_nOffsetY.load(kRelaxed));
    return rc;
}

Point CFieldObject::GetPosition() const
{
    return Point{m_x.load(kRelaxed), m_y.load(kRelaxed)};
}

void CFieldObject::SetPosition(int32_t x, int32_t y)
{
    m_x.store(x, kRelaxed);
    m_y.store(y, kRelaxed);
}

void CFieldObject::SetPosition(Point pt)
{
    SetPosition(pt.x, pt.y);
}

void CFieldObject::SetX(int32_t x)
{
    m_x.store(x, kRelaxed);
}

void CFieldObject::SetY(int32_t y)
{
    m_y.store(y, kRelaxed);
}

void CFieldObject::Offset(int32_t dx, int32_t dy)
{
    m_x.fetch_add(dx, kRelaxed);
    m_y.fetch_add(dy, kRelaxed);
}

void CFieldObject::StepLeft()
{
    m_x.fetch_sub(static_cast<int32_t>(GetStepX()), kRelaxed);
}

void CFieldObject::StepRight()
{
    m_x.fetch_add(static_cast<int32_t>(GetStepX()), kRelaxed);
}

void CFieldObject::StepUp()
{
    m_y.fetch_sub(static_cast<int32_t>(GetStepY()), kRelaxed);
}

void CFieldObject::StepDown()
{
    m_y.fetch_add(static_cast<int32_t>(GetStepY()), kRelaxed);
}

void CFieldObject::StepDownRight()
{
    StepRight();
    StepDown();
}

int32_t CFieldObject::GetWidth() const
{
    return m_nWidth.load(kRelaxed);
}

void CFieldObject::SetWidth(int32_t nWidth)
{
    m_nWidth.store(nWidth, kRelaxed);
}

int32_t CFieldObject::GetHeight() const
{
    return m_nHeight.load(kRelaxed);
}

void CFieldObject::SetHeight(int32_t nHeight)
{
    m_nHeight.store(nHeight, kRelaxed);
}

void CFieldObject::SetSteps(double dStepX, double dStepY)
{
    m_dStepX.store(dStepX, kRelaxed);
    m_dStepY.store(dStepY, kRelaxed);
}

int32_t CFieldObject::Distance(const CFieldObject& other) const
{
    const Point mine = GetPosition();
    const Point theirs = other.GetPosition();
    // Squares in 64 bits: positions far apart must not overflow into a
    // negative sum (the field itself never comes near that).
    const int64_t dy = static_cast<int64_t>(mine.y) - theirs.y;
    const int64_t dx = static_cast<int64_t>(mine.x) - theirs.x;
    const int64_t s = dy * dy + dx * dx;
    auto root = static_cast<int64_t>(std::sqrt(static_cast<double>(s)));
    // Correct the rounding of the double square root for large sums.
    while (root * root > s)
        --root;
    while ((root + 1) * (root + 1) <= s)
        ++root;
    return static_cast<int32_t>(root);
}

bool CFieldObject::Intersects(const CFieldObject& other) const
{
    Rect overlap;
    return IntersectRect(overlap, other.GetRect(), GetRect());
}
