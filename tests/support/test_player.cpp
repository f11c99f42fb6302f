#include "test_player.h"

#include <cstdlib>
#include <map>
#include <queue>
#include <utility>
#include <vector>

namespace {

using Tile = std::pair<Point, std::string>; // position, text

// A breadth-first search over head positions, each step wrapping around as
// the game's does. accept(tiles, eaten) says whether eating these tiles (in
// list order) in one step reaches the goal (1), is harmless (0: nothing
// eaten) or is forbidden (-1). Returns the first move of the shortest path to
// the goal, or -1.
template <class Accept>
int32_t Search(const CPlayField& field, Accept accept)
{
    std::vector<Tile> tiles;
    CCharObject tile;
    for (int32_t i = 0; field.CopyTile(i, tile); ++i)
        tiles.emplace_back(tile.GetPosition(), tile.Text());
    const Rect area = field.GetArea();
    const int32_t nStep = static_cast<int32_t>(field.GetSnake().GetStepX());
    const Point start = field.GetSnake().GetPosition();
    // Steps in direction order: up, right, down, left.
    const int32_t dx[] = {0, nStep, 0, -nStep}, dy[] = {-nStep, 0, nStep, 0};
    // The first move of the path found to each place already seen.
    std::map<std::pair<int32_t, int32_t>, int32_t> firstMove{{{start.x, start.y}, -1}};
    std::queue<Point> frontier;
    for (frontier.push(start); !frontier.empty(); frontier.pop()) {
        const Point head = frontier.front();
        const int32_t nFirst = firstMove[{head.x, head.y}];
        for (int32_t d = 0; d < 4; ++d) {
            Point next{head.x + dx[d], head.y + dy[d]};
            next.x = next.x < area.left ? area.right : next.x > area.right ? area.left : next.x;
            next.y = next.y < area.top ? area.bottom : next.y > area.bottom ? area.top : next.y;
            // Tiles do not move: a place seen once gives the same verdict.
            if (!firstMove.emplace(std::pair{next.x, next.y}, nFirst < 0 ? d : nFirst).second)
                continue;
            std::vector<const Tile*> eaten;
            for (const Tile& t : tiles) {
                if (std::abs(t.first.x - next.x) < 30 && std::abs(t.first.y - next.y) < 30)
                    eaten.push_back(&t);
            }
            const int32_t verdict = accept(tiles, eaten);
            if (verdict > 0)
                return nFirst < 0 ? d : nFirst;
            if (verdict == 0)
                frontier.push(next);
        }
    }
    return -1;
}

} // namespace

int32_t CTestPlayer::NextDirection(const CPlayField& field, const std::string& strWanted)
{
    return Search(field, [&strWanted](const std::vector<Tile>&, const std::vector<const Tile*>& eaten) {
        std::string strText;
        for (const Tile* pTile : eaten)
            strText += pTile->second;
        return eaten.empty() ? 0 : strWanted.compare(0, strText.size(), strText) == 0 ? 1 : -1;
    });
}

int32_t CTestPlayer::DirectionToTile(const CPlayField& field, int32_t nTileIndex)
{
    return Search(field, [nTileIndex](const std::vector<Tile>& tiles, const std::vector<const Tile*>& eaten) {
        return eaten.empty() ? 0 : eaten.size() == 1 && eaten[0] - tiles.data() == nTileIndex ? 1 : -1;
    });
}
