#include "test_player.h"

#include <cstdlib>
#include <map>
#include <queue>
#include <utility>
#include <vector>

namespace {

struct TileView
{
    Point pt;
    std::string text;
};

// The head's next position, wrap-around included, as a step computes it.
Point NextHead(Point pt, int32_t nDirection, int32_t nStep, const Rect& area)
{
    pt.x += nDirection == CSnake::Right ? nStep : nDirection == CSnake::Left ? -nStep : 0;
    pt.y += nDirection == CSnake::Down ? nStep : nDirection == CSnake::Up ? -nStep : 0;
    if (pt.x < area.left)
        pt.x = area.right;
    else if (pt.x > area.right)
        pt.x = area.left;
    else if (pt.y < area.top)
        pt.y = area.bottom;
    else if (pt.y > area.bottom)
        pt.y = area.top;
    return pt;
}

// A breadth-first search over head positions. accept(eaten) says whether
// eating these tiles (their indices, in list order) in one step reaches the
// goal (1), is harmless (0: nothing eaten) or is forbidden (-1). Returns the
// first move of the shortest path to the goal, or -1.
template <class Accept>
int32_t Search(const CPlayField& field, Accept accept)
{
    std::vector<TileView> tiles;
    CCharObject tile;
    for (int32_t i = 0; field.CopyTile(i, tile); ++i)
        tiles.push_back({tile.GetPosition(), tile.Text()});
    const CSnake& snake = field.GetSnake();
    const int32_t nStep = static_cast<int32_t>(snake.GetStepX());
    std::map<std::pair<int32_t, int32_t>, int32_t> firstMove;
    std::queue<Point> frontier;
    firstMove[{snake.GetPosition().x, snake.GetPosition().y}] = -1;
    frontier.push(snake.GetPosition());
    for (; !frontier.empty(); frontier.pop()) {
        const Point head = frontier.front();
        const int32_t nFirst = firstMove[{head.x, head.y}];
        for (int32_t d = 0; d < 4; ++d) {
            const Point next = NextHead(head, d, nStep, field.GetArea());
            if (firstMove.count({next.x, next.y}))
                continue;
            std::vector<const TileView*> eaten;
            for (const TileView& t : tiles) {
                if (std::abs(t.pt.x - next.x) < 30 && std::abs(t.pt.y - next.y) < 30)
                    eaten.push_back(&t);
            }
            const int32_t verdict = accept(tiles, eaten);
            if (verdict > 0)
                return nFirst < 0 ? d : nFirst;
            if (verdict == 0) {
                firstMove[{next.x, next.y}] = nFirst < 0 ? d : nFirst;
                frontier.push(next);
            }
        }
    }
    return -1;
}

} // namespace

int32_t CTestPlayer::NextDirection(const CPlayField& field, const std::string& strWanted)
{
    return Search(field, [&strWanted](const std::vector<TileView>&, const std::vector<const TileView*>& eaten) {
        std::string strText;
        for (const TileView* pTile : eaten)
            strText += pTile->text;
        return eaten.empty() ? 0 : strWanted.compare(0, strText.size(), strText) == 0 ? 1 : -1;
    });
}

int32_t CTestPlayer::DirectionToTile(const CPlayField& field, int32_t nTileIndex)
{
    return Search(field, [nTileIndex](const std::vector<TileView>& tiles, const std::vector<const TileView*>& eaten) {
        return eaten.empty() ? 0 : eaten.size() == 1 && eaten[0] - tiles.data() == nTileIndex ? 1 : -1;
    });
}

void CTestPlayer::Turn(CPlayField& field, int32_t nDirection)
{
    if (nDirection >= CSnake::Up && nDirection <= CSnake::Left)
        field.GetSnake().SetDirection(nDirection);
}
