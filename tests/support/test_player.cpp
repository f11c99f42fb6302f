#include "test_player.h"

#include <map>
#include <queue>
#include <utility>
#include <vector>

namespace {

struct TileView
{
    Point pt;
    std::string text;
    int32_t index;
};

std::vector<TileView> Snapshot(const CPlayField& field)
{
    std::vector<TileView> tiles;
    CCharObject tile;
    for (int32_t i = 0; i < field.GetTileCount(); ++i) {
        if (field.CopyTile(i, tile))
            tiles.push_back({tile.GetPosition(), tile.Text(), i});
    }
    return tiles;
}

// The head's next position, wrap-around included, as a step computes it.
Point NextHead(Point head, int32_t nDirection, int32_t nStep, const Rect& area)
{
    const int32_t dx[] = {0, nStep, 0, -nStep};
    const int32_t dy[] = {-nStep, 0, nStep, 0};
    Point pt{head.x + dx[nDirection], head.y + dy[nDirection]};
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

bool Touches(Point head, Point tile)
{
    return tile.x - head.x < 30 && head.x - tile.x < 30 && tile.y - head.y < 30 &&
           head.y - tile.y < 30;
}

// accept(eaten) says whether eating these tiles (in list order) in one step
// reaches the goal (1), is harmless (0: nothing eaten) or is forbidden (-1).
template <class Accept>
int32_t Search(const CPlayField& field, const std::vector<TileView>& tiles, Accept accept)
{
    const CSnake& snake = field.GetSnake();
    const int32_t nStep = static_cast<int32_t>(snake.GetStepX());
    const Rect area = field.GetArea();
    std::map<std::pair<int32_t, int32_t>, int32_t> firstMove;
    std::queue<Point> frontier;
    const Point start = snake.GetPosition();
    firstMove[{start.x, start.y}] = -1;
    frontier.push(start);
    while (!frontier.empty()) {
        const Point head = frontier.front();
        frontier.pop();
        const int32_t nFirst = firstMove[{head.x, head.y}];
        for (int32_t d = 0; d < 4; ++d) {
            const Point next = NextHead(head, d, nStep, area);
            if (firstMove.count({next.x, next.y}))
                continue;
            std::vector<const TileView*> eaten;
            for (const TileView& tile : tiles) {
                if (Touches(next, tile.pt))
                    eaten.push_back(&tile);
            }
            const int32_t verdict = accept(eaten);
            const int32_t nMove = nFirst < 0 ? d : nFirst;
            if (verdict > 0)
                return nMove;
            if (verdict < 0)
                continue;
            firstMove[{next.x, next.y}] = nMove;
            frontier.push(next);
        }
    }
    return -1;
}

} // namespace

int32_t CTestPlayer::NextDirection(const CPlayField& field, const std::string& strWanted)
{
    const std::vector<TileView> tiles = Snapshot(field);
    return Search(field, tiles, [&strWanted](const std::vector<const TileView*>& eaten) {
        if (eaten.empty())
            return 0;
        std::string strText;
        for (const TileView* pTile : eaten)
            strText += pTile->text;
        return strWanted.compare(0, strText.size(), strText) == 0 ? 1 : -1;
    });
}

int32_t CTestPlayer::DirectionToTile(const CPlayField& field, int32_t nTileIndex)
{
    const std::vector<TileView> tiles = Snapshot(field);
    return Search(field, tiles, [nTileIndex](const std::vector<const TileView*>& eaten) {
        if (eaten.empty())
            return 0;
        return eaten.size() == 1 && eaten[0]->index == nTileIndex ? 1 : -1;
    });
}

void CTestPlayer::Turn(CPlayField& field, int32_t nDirection)
{
    switch (nDirection) {
    case CSnake::Up:
        field.TurnUp();
        break;
    case CSnake::Right:
        field.TurnRight();
        break;
    case CSnake::Down:
        field.TurnDown();
        break;
    case CSnake::Left:
        field.TurnLeft();
        break;
    default:
        break;
    }
}
