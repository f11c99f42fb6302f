#include "field/play_field.h"

#include "platform/code_page.h"
#include "platform/random.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kLetterSize = 200;

constexpr int32_t kSpacingSq = CPlayField::kTileSpacing * CPlayField::kTileSpacing;
// Random attempts for one tile before the free places are counted out.
constexpr int32_t kRandomAttempts = 100;
// Candidates weighed for a tile when no place keeps the spacing.
constexpr int32_t kFallbackCandidates = 64;

// Which tile centres in the placement rectangle still keep the spacing to
// every placed tile and lie outside the central box. Random placement with
// unlimited retries never ends once the ring around the box is full; with the
// map the game knows exactly when that is, and picks the roomiest spot then.
class FreePlaces
{
public:
    FreePlaces(Rect rcPlace, Rect rcCentre)
        : m_rc(rcPlace), m_nWidth(rcPlace.Width()), m_nHeight(rcPlace.Height()),
          m_free(static_cast<size_t>(m_nWidth) * m_nHeight, 1),
          m_nCols((m_nWidth + CPlayField::kTileSpacing - 1) / CPlayField::kTileSpacing),
          m_nRows((m_nHeight + CPlayField::kTileSpacing - 1) / CPlayField::kTileSpacing),
          m_cells(static_cast<size_t>(m_nCols) * m_nRows)
    {
        m_nFree = static_cast<int32_t>(m_free.size());
        Rect rcBlocked;
        if (IntersectRect(rcBlocked, rcPlace, rcCentre)) {
            OffsetRect(rcBlocked, -m_rc.left, -m_rc.top);
            for (int32_t y = rcBlocked.top; y < rcBlocked.bottom; ++y) {
                std::fill_n(m_free.begin() + Index(rcBlocked.left, y), rcBlocked.Width(), 0);
                m_nFree -= rcBlocked.Width();
            }
        }
    }

    int32_t FreeCount() const { return m_nFree; }

    bool IsFree(Point pt) const
    {
        return m_free[Index(pt.x - m_rc.left, pt.y - m_rc.top)] != 0;
    }

    Point NthFree(int32_t n) const
    {
        for (size_t i = 0; i < m_free.size(); ++i) {
            if (m_free[i] && n-- == 0)
                return Point{m_rc.left + static_cast<int32_t>(i % m_nWidth),
                             m_rc.top + static_cast<int32_t>(i / m_nWidth)};
        }
        return Point{m_rc.left, m_rc.top};
    }

    void Add(Point pt)
    {
        const int32_t cx = pt.x - m_rc.left;
        const int32_t cy = pt.y - m_rc.top;
        const int32_t r = CPlayField::kTileSpacing - 1;
        // Once no place is free, a long answer's further tiles have none to take.
        for (int32_t y = std::max(0, cy - r); m_nFree > 0 && y <= std::min(m_nHeight - 1, cy + r); ++y) {
            const int32_t dy = y - cy;
            for (int32_t x = std::max(0, cx - r); x <= std::min(m_nWidth - 1, cx + r); ++x) {
                const int32_t dx = x - cx;
                uint8_t& cell = m_free[Index(x, y)];
                if (cell && dx * dx + dy * dy < kSpacingSq) {
                    cell = 0;
                    --m_nFree;
                }
            }
        }
        m_cells[CellOf(cx, cy)].push_back(pt);
    }

    // Squared distance to the nearest placed tile, for a point that has one
    // closer than the spacing (any point that is not free outside the box).
    // The search stops once it is found no farther than nEnough.
    int64_t NearestSq(Point pt, int64_t nEnough) const
    {
        const int32_t col = (pt.x - m_rc.left) / CPlayField::kTileSpacing;
        const int32_t row = (pt.y - m_rc.top) / CPlayField::kTileSpacing;
        int64_t best = std::numeric_limits<int64_t>::max();
        for (int32_t r = std::max(0, row - 1); r <= std::min(m_nRows - 1, row + 1); ++r) {
            for (int32_t c = std::max(0, col - 1); c <= std::min(m_nCols - 1, col + 1); ++c) {
                for (const Point& other : m_cells[static_cast<size_t>(r) * m_nCols + c]) {
                    const int64_t dx = pt.x - other.x;
                    const int64_t dy = pt.y - other.y;
                    best = std::min(best, dx * dx + dy * dy);
                    if (best <= nEnough)
                        return best;
                }
            }
        }
        return best;
    }

private:
    size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * m_nWidth + x; }
    size_t CellOf(int32_t x, int32_t y) const
    {
        return static_cast<size_t>(y / CPlayField::kTileSpacing) * m_nCols +
               x / CPlayField::kTileSpacing;
    }

    Rect m_rc;
    int32_t m_nWidth;
    int32_t m_nHeight;
    std::vector<uint8_t> m_free;
    int32_t m_nFree = 0;
    int32_t m_nCols;
    int32_t m_nRows;
    std::vector<std::vector<Point>> m_cells;
};

Point RandomPoint(const Rect& rc)
{
    const int32_t x = rc.left + Rand() % rc.Width();
    const int32_t y = rc.top + Rand() % rc.Height();
    return Point{x, y};
}

Point ChooseTileCentre(FreePlaces& places, const Rect& rcPlace, const Rect& rcCentre)
{
    if (places.FreeCount() > 0) {
        for (int32_t attempt = 0; attempt < kRandomAttempts; ++attempt) {
            const Point pt = RandomPoint(rcPlace);
            if (places.IsFree(pt))
                return pt;
        }
        // Free places are rare: draw one of them directly.
        return places.NthFree(Rand() % places.FreeCount());
    }

    // The spacing cannot be kept: take the candidate farthest from its
    // nearest tile, still outside the central box.
    Point best{rcPlace.left, rcPlace.top};
    int64_t bestSq = -1;
    for (int32_t attempt = 0; attempt < kFallbackCandidates; ++attempt) {
        const Point pt = RandomPoint(rcPlace);
        if (PtInRect(rcCentre, pt))
            continue;
        // A candidate no better than the best so far need not be measured out.
        const int64_t sq = places.NearestSq(pt, bestSq);
        if (sq > bestSq) {
            bestSq = sq;
            best = pt;
        }
    }
    return best;
}

} // namespace

CPlayField::CPlayField()
{
    SeedRandomFromTime();
}

CPlayField::~CPlayField()
{
    m_tiles.RemoveAll();
}

Point CPlayField::AreaCentre() const
{
    const Rect rc = GetArea();
    return Point{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void CPlayField::CentreSnake()
{
    m_snake.SetPosition(AreaCentre());
}

void CPlayField::StartQuestion()
{
    CentreSnake();
    m_snake.SetSteps(kQuestionStep, kQuestionStep);
}

void CPlayField::PlaceTiles(std::string strAnswer)
{
    Rect rcPlace = GetArea();
    InflateRect(rcPlace, -m_snake.GetWidth(), -m_snake.GetHeight());
    Rect rcCentre = GetArea();
    InflateRect(rcCentre, -kCentreMarginX, -kCentreMarginY);

    // An area too small for the rules has no placement rectangle at all.
    const bool bRoom = !IsRectEmpty(rcPlace);
    std::unique_ptr<FreePlaces> places;
    if (bRoom && !strAnswer.empty())
        places = std::make_unique<FreePlaces>(rcPlace, rcCentre);

    // Which half of a double-byte character each byte is, pairing from the
    // first byte on, so that a trail byte is never read as a lead byte.
    std::vector<int32_t> halves(strAnswer.size(), CCharObject::Whole);
    size_t nLength = 1;
    for (size_t i = 0; i < strAnswer.size(); i += nLength) {
        if (DecodeCodePage932Char(strAnswer, i, nLength) != kNoCharacter && nLength == 2) {
            halves[i] = CCharObject::LeftHalf;
            halves[i + 1] = CCharObject::RightHalf;
        }
    }

    for (size_t i = 0; i < strAnswer.size(); ++i) {
        const Point pt = bRoom ? ChooseTileCentre(*places, rcPlace, rcCentre) : AreaCentre();
        if (bRoom)
            places->Add(pt);
        // The tile is complete before the list publishes it to the window.
        auto pTile = std::make_unique<CCharObject>();
        pTile->SetText(strAnswer.substr(i, 1));
        if (halves[i] != CCharObject::Whole) {
            const size_t nFirst = halves[i] == CCharObject::LeftHalf ? i : i - 1;
            pTile->SetHalf(halves[i], strAnswer.substr(nFirst, 2));
        }
        pTile->SetPosition(pt);
        m_tiles.Append(pTile.release());
    }
}

void CPlayField::Step()
{
    m_snake.Move();

    const Rect rc = GetArea();
    const Point head = m_snake.GetPosition();
    if (head.x < rc.left)
        m_snake.SetX(rc.right);
    else if (head.x > rc.right)
        m_snake.SetX(rc.left);
    else if (head.y < rc.top)
        m_snake.SetY(rc.bottom);
    else if (head.y > rc.bottom)
        m_snake.SetY(rc.top);

    // A removed tile's successor moves up into position i and is tested next.
    for (int32_t i = 0; i < GetTileCount();) {
        CCharObject* pTile = m_tiles.GetAt(i);
        if (pTile && m_snake.Intersects(*pTile)) {
            m_snake.AddSegment(*pTile);
            m_tiles.RemoveAt(i);
        } else {
            ++i;
        }
    }
}

bool CPlayField::CopyTile(int32_t nIndex, CCharObject& out) const
{
    return m_tiles.VisitAt(nIndex, [&out](const CCharObject& tile) { out = tile; });
}

void CPlayField::Draw(CDrawTarget& dc, std::string strStatus)
{
    DrawBackground(dc, kBlack);
    if (!IsRunning()) {
        DrawMenuButtons(dc, 200);
        DrawTitle(dc);
        return;
    }
    DrawTiles(dc);
    DrawSnake(dc);
    DrawStatusText(dc, strStatus, 300, kGold);
    DrawPauseMark(dc);
    // Stop and the progress lie outside the area: the window's painter
    // draws them where they show.
}

void CPlayField::DrawTiles(CDrawTarget& dc)
{
    // Copies, not pointers: the game loop may delete a tile at any moment.
    CCharObject tile;
    for (int32_t i = 0; i < GetTileCount(); ++i) {
        if (!CopyTile(i, tile))
            continue;
        const Rect rc = tile.GetRect();
        dc.DrawBox(rc, kTileWhite, kTileWhite);
        DrawLetter(dc, tile);
    }
}

void CPlayField::DrawSnake(CDrawTarget& dc)
{
    // Copies, not pointers: the game loop may empty the body at any moment.
    std::vector<CCharObject> body;
    CCharObject segment;
    for (int32_t i = 0; i < m_snake.GetSegmentCount(); ++i) {
        if (m_snake.CopySegment(i, segment))
            body.push_back(segment);
    }
    dc.DrawBall(m_snake.GetRect());
    for (const CCharObject& part : body)
        dc.DrawBall(part.GetRect());
    // The letters over all the balls, so that no ball hides one, not even
    // the head the last eaten segment sits on. A left half and then a right
    // half that make a character lie next to each other, side by side or
    // one above the other: the character stands whole between them.
    for (size_t i = 0; i < body.size(); ++i) {
        if (i + 1 < body.size() && IsCharacterPair(body[i], body[i + 1])) {
            Rect rcPair;
            UnionRect(rcPair, body[i].GetRect(), body[i + 1].GetRect());
            dc.DrawLabel(rcPair, body[i].Text() + body[i + 1].Text(), kLetterSize, kRed);
            ++i;
        } else {
            DrawLetter(dc, body[i]);
        }
    }
}

bool CPlayField::IsCharacterPair(const CCharObject& first, const CCharObject& second)
{
    // By their bytes, as the verdict judges: the halves of two characters
    // that share a lead byte make the character collected.
    const Point a = first.GetPosition();
    const Point b = second.GetPosition();
    size_t nLength = 0;
    return first.GetHalf() == CCharObject::LeftHalf && second.GetHalf() == CCharObject::RightHalf &&
           std::abs(a.x - b.x) + std::abs(a.y - b.y) <= static_cast<int32_t>(kQuestionStep) &&
           DecodeCodePage932Char(first.Text() + second.Text(), 0, nLength) != kNoCharacter;
}

void CPlayField::DrawLetter(CDrawTarget& dc, const CCharObject& letter)
{
    const Rect rc = letter.GetRect();
    const int32_t nHalf = letter.GetHalf();
    if (nHalf == CCharObject::Whole) {
        dc.DrawLabel(rc, letter.Text(), kLetterSize, kRed);
        return;
    }
    // The character is drawn whole over this box and its neighbour on the
    // side where it goes on, and shows only over this one: two halves side
    // by side make the character as a single-byte letter's size draws it.
    const bool bLeft = nHalf == CCharObject::LeftHalf;
    Rect rcWhole = rc;
    if (bLeft)
        rcWhole.right += rc.Width();
    else
        rcWhole.left -= rc.Width();
    dc.DrawLabelPart(rcWhole, rc, letter.Character(), kLetterSize, kRed);
    // A small wedge on the free outer side points to where the character
    // goes on, so that halves of symmetric characters tell apart.
    const int32_t cy = (rc.top + rc.bottom) / 2;
    for (int32_t i = 0; i < 4; ++i) {
        const int32_t x = bLeft ? rc.left + 3 + i : rc.right - 4 - i;
        dc.DrawBox(Rect{x, cy - 3 + i, x + 1, cy + 4 - i}, kGrey, kGrey);
    }
}
