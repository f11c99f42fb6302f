#include "field/snake.h"

#include <cmath>
#include <memory>
#include <utility>

CSnake::CSnake()
{
    Reset();
}

CSnake::~CSnake()
{
    m_segments.RemoveAll();
}

void CSnake::Reset()
{
    RemoveAllSegments();
    SetSteps(30.0, 30.0);
    SetDirection(Right);
    SetWidth(30);
    SetHeight(30);
}

void CSnake::Move()
{
    Point prev = GetPosition();
    for (int32_t k = 0; k < GetSegmentCount(); ++k) {
        CCharObject* pSegment = GetSegment(k);
        if (!pSegment)
            continue;
        const Point old = pSegment->GetPosition();
        pSegment->SetPosition(prev);
        prev = old;
    }

    // Computed in double from the integer position, stored truncated.
    const Point head = GetPosition();
    switch (GetDirection()) {
    case Up:
        SetY(static_cast<int32_t>(std::trunc(head.y - GetStepY())));
        break;
    case Right:
        SetX(static_cast<int32_t>(std::trunc(head.x + GetStepX())));
        break;
    case Down:
        SetY(static_cast<int32_t>(std::trunc(head.y + GetStepY())));
        break;
    case Left:
        SetX(static_cast<int32_t>(std::trunc(head.x - GetStepX())));
        break;
    default:
        break;
    }
}

void CSnake::AddSegment(CCharObject tile)
{
    // The segment is complete before the list publishes it to the window.
    auto pSegment = std::make_unique<CCharObject>();
    pSegment->Assign(tile);
    pSegment->SetPosition(GetPosition());
    m_segments.Append(pSegment.release());
}

bool CSnake::CopySegment(int32_t nIndex, CCharObject& out) const
{
    return m_segments.VisitAt(nIndex, [&out](const CCharObject& segment) { out = segment; });
}

std::string CSnake::GetText() const
{
    std::string strText;
    for (int32_t k = 0; k < GetSegmentCount(); ++k) {
        m_segments.VisitAt(k, [&strText](const CCharObject& segment) {
            strText += segment.Text();
        });
    }
    return strText;
}
