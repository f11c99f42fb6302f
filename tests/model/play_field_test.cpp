#include "field/play_field.h"
#include "platform/random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The dialog's play area.
const Rect kArea{11, 11, 353, 238};

class PlayFieldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_field.SetArea(kArea);
        m_field.CentreSnake();
    }

    // Places one tile per byte and moves them where a test wants them.
    void PutTiles(const std::string& strText, const std::vector<Point>& points)
    {
        m_field.PlaceTiles(strText);
        ASSERT_EQ(m_field.GetTileCount(), static_cast<int32_t>(points.size()));
        for (size_t i = 0; i < points.size(); ++i)
            m_field.GetTile(static_cast<int32_t>(i))->SetPosition(points[i]);
    }

    CPlayField m_field;
};

TEST_F(PlayFieldTest, StartsCentredFacingRightWithStepThirty)
{
    CSnake& snake = m_field.GetSnake();
    EXPECT_EQ(snake.GetPosition(), (Point{182, 124}));
    EXPECT_EQ(snake.GetDirection(), CSnake::Right);
    EXPECT_EQ(snake.GetWidth(), 30);
    EXPECT_EQ(snake.GetStepX(), 30.0);

    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{212, 124}));
    m_field.StartQuestion();
    EXPECT_EQ(snake.GetPosition(), (Point{182, 124}));
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{202, 124})) << "a question's step is 20 pixels";

    // Any direction may follow any other, straight back included.
    m_field.TurnLeft();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{182, 124}));
    m_field.TurnUp();
    m_field.TurnDown();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{182, 144})) << "only the last turn counts";
    snake.SetDirection(7);
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{182, 144})) << "an unknown direction stands still";
}

TEST_F(PlayFieldTest, HeadWrapsAtEachEdgeAndRestsOnTheOutsideEdgeForOneStep)
{
    CSnake& snake = m_field.GetSnake();
    m_field.StartQuestion();

    snake.SetPosition(15, 100);
    m_field.TurnLeft();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{353, 100}));

    snake.SetPosition(343, 100);
    m_field.TurnRight();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{11, 100}));

    snake.SetPosition(100, 25);
    m_field.TurnUp();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{100, 238}));

    snake.SetPosition(100, 230);
    m_field.TurnDown();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{100, 11}));

    // Landing exactly on the right edge: outside, but no wrap yet.
    snake.SetPosition(333, 100);
    m_field.TurnRight();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{353, 100}));
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{11, 100}));

    snake.SetPosition(100, 218);
    m_field.TurnDown();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{100, 238}));
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{100, 11}));
}

TEST_F(PlayFieldTest, EatsEveryTouchedTileInListOrderAndGrowsOnTheHead)
{
    CSnake& snake = m_field.GetSnake();
    m_field.StartQuestion();
    // After one step right the head is at (202, 124). Tiles 0 and 2 are under
    // it, tile 1 is one pixel too far, tile 3 touches only along an edge.
    PutTiles("ABCD", {{220, 140}, {232, 124}, {190, 110}, {202, 154}});
    m_field.Step();
    EXPECT_EQ(m_field.GetTileCount(), 2);
    ASSERT_EQ(snake.GetSegmentCount(), 2);
    EXPECT_EQ(snake.GetText(), "AC");
    EXPECT_EQ(snake.GetSegment(0)->GetPosition(), (Point{202, 124})) << "new segments start on the head";
    EXPECT_EQ(snake.GetSegment(1)->GetPosition(), (Point{202, 124}));
    EXPECT_EQ(m_field.GetTile(0)->GetText(), "B");
    EXPECT_EQ(m_field.GetTile(1)->GetText(), "D");

    // Next step: the head eats B; the body follows one place behind.
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{222, 124}));
    ASSERT_EQ(snake.GetSegmentCount(), 3);
    EXPECT_EQ(snake.GetSegment(0)->GetPosition(), (Point{202, 124}));
    EXPECT_EQ(snake.GetSegment(1)->GetPosition(), (Point{202, 124}));
    EXPECT_EQ(snake.GetSegment(2)->GetPosition(), (Point{222, 124}));
    EXPECT_EQ(snake.GetText(), "ACB") << "text in eating order, not answer order";

    m_field.TurnDown();
    m_field.Step();
    EXPECT_EQ(snake.GetPosition(), (Point{222, 144}));
    EXPECT_EQ(snake.GetSegment(0)->GetPosition(), (Point{222, 124}));
    EXPECT_EQ(snake.GetSegment(1)->GetPosition(), (Point{202, 124}));
    EXPECT_EQ(snake.GetSegment(2)->GetPosition(), (Point{202, 124}));
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(snake.GetText(), "ACBD");

    EXPECT_EQ(m_field.GetTile(-1), nullptr);
    EXPECT_EQ(m_field.GetTile(0), nullptr);
    snake.RemoveAllSegments();
    EXPECT_EQ(snake.GetText(), "");
}

TEST_F(PlayFieldTest, AnswersBecomeOneTilePerByte)
{
    const std::string strKanji = "\x8c\xa2\x90\xb3"; // two double-byte characters
    m_field.PlaceTiles(strKanji);
    ASSERT_EQ(m_field.GetTileCount(), 4);
    std::string strJoined;
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(m_field.GetTile(i)->GetText().size(), 1u);
        strJoined += m_field.GetTile(i)->GetText();
        CCharObject copy;
        ASSERT_TRUE(m_field.CopyTile(i, copy));
        EXPECT_EQ(copy.GetPosition(), m_field.GetTile(i)->GetPosition());
    }
    EXPECT_EQ(strJoined, strKanji);

    // Eaten in answer order, the collected bytes are the answer again.
    CSnake& snake = m_field.GetSnake();
    m_field.StartQuestion();
    for (int32_t i = 0; i < 4; ++i) {
        m_field.GetTile(0)->SetPosition(snake.GetPosition().x + 20, snake.GetPosition().y);
        m_field.Step();
    }
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(snake.GetText(), strKanji);
    snake.RemoveAllSegments();

    m_field.PlaceTiles("");
    EXPECT_EQ(m_field.GetTileCount(), 0);
    m_field.Step();
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(snake.GetText(), "");
}

// Checks the placement rules for one answer length over many seeds.
void ExpectPlacementRules(int32_t nLength, bool bSpacingExpected)
{
    const Rect rcPlace{41, 41, 323, 208};
    const Rect rcCentre{81, 61, 283, 188};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        CPlayField field;
        field.SetArea(kArea);
        SeedRandom(seed);
        field.PlaceTiles(std::string(static_cast<size_t>(nLength), 'x'));
        ASSERT_EQ(field.GetTileCount(), nLength);
        int32_t nTooClose = 0;
        for (int32_t i = 0; i < nLength; ++i) {
            const CCharObject* pTile = field.GetTile(i);
            ASSERT_TRUE(PtInRect(rcPlace, pTile->GetPosition())) << "seed " << seed;
            ASSERT_FALSE(PtInRect(rcCentre, pTile->GetPosition())) << "seed " << seed;
            for (int32_t j = 0; j < i; ++j)
                nTooClose += pTile->Distance(*field.GetTile(j)) < 30;
        }
        if (bSpacingExpected) {
            EXPECT_EQ(nTooClose, 0) << "seed " << seed << ", " << nLength << " tiles";
        }
        field.RemoveAllTiles();
    }
}

TEST(PlacementTest, KeepsTheRulesWhileTheyCanBeMetAndNeverHangs)
{
    ExpectPlacementRules(5, true);
    ExpectPlacementRules(14, true);
    ExpectPlacementRules(20, true);
    // Far past what the ring can take: still inside the placement rectangle
    // and outside the central box, and it returns.
    ExpectPlacementRules(300, false);
}

TEST(PlacementTest, SameSeedGivesTheSameLayout)
{
    auto layout = [](uint32_t seed) {
        CPlayField field;
        field.SetArea(kArea);
        SeedRandom(seed);
        field.PlaceTiles("CATDOG");
        std::vector<Point> points;
        for (int32_t i = 0; i < field.GetTileCount(); ++i)
            points.push_back(field.GetTile(i)->GetPosition());
        return points;
    };
    EXPECT_EQ(layout(42), layout(42));
    EXPECT_NE(layout(42), layout(43));
}

TEST(PlacementTest, TooSmallAreaPutsTilesAtItsCentre)
{
    CPlayField unset;
    unset.PlaceTiles("AB");
    ASSERT_EQ(unset.GetTileCount(), 2);
    EXPECT_EQ(unset.GetTile(1)->GetPosition(), (Point{0, 0}));

    CPlayField narrow;
    narrow.SetArea(Rect{0, 0, 60, 200});
    narrow.PlaceTiles("A");
    EXPECT_EQ(narrow.GetTile(0)->GetPosition(), (Point{30, 100}));

    CPlayField justBigEnough;
    justBigEnough.SetArea(Rect{0, 0, 61, 61});
    justBigEnough.PlaceTiles("AB");
    EXPECT_EQ(justBigEnough.GetTile(0)->GetPosition(), (Point{30, 30}));
    EXPECT_EQ(justBigEnough.GetTile(1)->GetPosition(), (Point{30, 30}));
}

} // namespace
