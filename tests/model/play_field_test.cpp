#include "rect_compare.h"
#include "field/play_field.h"
#include "game/game_painter.h"
#include "game/window_layout.h"
#include "platform/random.h"
#include "recording_target.h"
#include "run/quiz_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A runner that shows a result without playing for it.
class CResultRunner : public CQuizRunner
{
public:
    using CQuizRunner::SetQuestionText;
    using CQuizRunner::SetResult;
};

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

    // Where the head is after one more step.
    Point StepTo()
    {
        m_field.Step();
        return m_snake.GetPosition();
    }

    CPlayField m_field;
    CSnake& m_snake = m_field.GetSnake();
};

TEST_F(PlayFieldTest, StartsCentredFacingRightTurnsAnyWayAndWrapsAround)
{
    EXPECT_EQ(m_snake.GetPosition(), (Point{182, 124}));
    EXPECT_EQ(StepTo(), (Point{212, 124})) << "steps of 30 before a question";
    m_field.StartQuestion();
    EXPECT_EQ(m_snake.GetPosition(), (Point{182, 124}));
    EXPECT_EQ(StepTo(), (Point{202, 124})) << "a question's step is 20 pixels";

    m_snake.SetDirection(7);
    EXPECT_EQ(StepTo(), (Point{202, 124})) << "an unknown direction stands still";

    // Any turn may follow any other, straight back included. The head wraps
    // at each edge and rests on the outside edge for one step.
    // {start, turn, after one step, after two}
    using Turn = void (CPlayField::*)();
    const std::tuple<Point, Turn, Point, Point> cases[] = {
        {{15, 100}, &CPlayField::TurnLeft, {353, 100}, {333, 100}},
        {{343, 100}, &CPlayField::TurnRight, {11, 100}, {31, 100}},
        {{100, 25}, &CPlayField::TurnUp, {100, 238}, {100, 218}},
        {{100, 230}, &CPlayField::TurnDown, {100, 11}, {100, 31}},
        // Landing exactly on the right or bottom edge: outside, but no wrap yet.
        {{333, 100}, &CPlayField::TurnRight, {353, 100}, {11, 100}},
        {{100, 218}, &CPlayField::TurnDown, {100, 238}, {100, 11}},
    };
    for (const auto& [start, turn, first, second] : cases) {
        m_snake.SetPosition(start);
        (m_field.*turn)();
        EXPECT_EQ(StepTo(), first) << start.x << "," << start.y;
        EXPECT_EQ(StepTo(), second) << start.x << "," << start.y;
    }
}

TEST_F(PlayFieldTest, EatsEveryTouchedTileInListOrderAndGrowsOnTheHead)
{
    m_field.StartQuestion();
    // After one step right the head is at (202, 124). Tiles 0 and 2 are under
    // it, tile 1 is one pixel too far, tile 3 touches only along an edge.
    m_field.PlaceTiles("ABCD");
    const Point tiles[] = {{220, 140}, {232, 124}, {190, 110}, {202, 154}};
    for (int32_t i = 0; i < 4; ++i)
        m_field.GetTile(i)->SetPosition(tiles[i]);
    m_field.Step();
    ASSERT_EQ(m_snake.GetSegmentCount(), 2);
    EXPECT_EQ(m_snake.GetText(), "AC");
    EXPECT_EQ(m_snake.GetSegment(1)->GetPosition(), (Point{202, 124})) << "new segments start on the head";
    ASSERT_EQ(m_field.GetTileCount(), 2);
    EXPECT_EQ(m_field.GetTile(1)->GetText(), "D");

    // The head eats B; then the body follows one place behind.
    m_field.Step();
    m_field.TurnDown();
    EXPECT_EQ(StepTo(), (Point{222, 144}));
    ASSERT_EQ(m_snake.GetSegmentCount(), 4);
    const Point body[] = {{222, 124}, {202, 124}, {202, 124}, {222, 144}};
    for (int32_t i = 0; i < 4; ++i)
        EXPECT_EQ(m_snake.GetSegment(i)->GetPosition(), body[i]) << i;
    EXPECT_EQ(m_field.GetTileCount(), 0);
    EXPECT_EQ(m_snake.GetText(), "ACBD") << "text in eating order, not answer order";
    m_snake.RemoveAllSegments();
    EXPECT_EQ(m_snake.GetText(), "");
}

TEST_F(PlayFieldTest, AnswersBecomeOneTilePerByteAndSegmentsKeepTheirHalves)
{
    constexpr int32_t W = CCharObject::Whole, L = CCharObject::LeftHalf, R = CCharObject::RightHalf;
    const std::pair<std::string, std::vector<int32_t>> cases[] = { // answer, halves of its tiles
        {"", {}},
        {"\x8c\xa2\x90\xb3", {L, R, L, R}},
        // Paired from the first byte: 8E 52 is a character too, 81 a lead byte.
        {"\x83\x8E\x52", {L, R, W}},
        {"\x81\x81\x81", {L, R, W}},
        // Letters, half-width katakana, an unassigned pair, bytes of no
        // character.
        {"A\xB1\x85\x40\x80\xA0\xFD", {W, W, W, W, W, W, W}},
    };
    for (const auto& [strAnswer, halves] : cases) {
        m_field.StartQuestion();
        m_field.PlaceTiles(strAnswer);
        ASSERT_EQ(m_field.GetTileCount(), static_cast<int32_t>(strAnswer.size()));
        // All under the head's next place: eaten in one step, in order.
        for (int32_t k = 0; k < m_field.GetTileCount(); ++k)
            m_field.GetTile(k)->SetPosition(Point{202, 124});
        m_field.Step();
        ASSERT_EQ(m_snake.GetSegmentCount(), static_cast<int32_t>(strAnswer.size()));
        EXPECT_EQ(m_snake.GetText(), strAnswer);
        for (int32_t k = 0; k < m_snake.GetSegmentCount(); ++k) {
            const CCharObject& segment = *m_snake.GetSegment(k);
            EXPECT_EQ(segment.GetText().size(), 1u);
            EXPECT_EQ(segment.GetHalf(), halves[static_cast<size_t>(k)]) << strAnswer << " " << k;
            const size_t nFirst = static_cast<size_t>(k - (segment.GetHalf() == R));
            EXPECT_EQ(segment.Character(), segment.GetHalf() == W ? "" : strAnswer.substr(nFirst, 2));
        }
        m_snake.RemoveAllSegments();
    }
}

TEST_F(PlayFieldTest, StatusTextShrinksThenTakesTwoLinesThenEndsInAnEllipsis)
{
    const auto times = [](int n, const std::string& str) {
        std::string strOut;
        while (n-- > 0)
            strOut += str;
        return strOut;
    };
    const std::string a = "\x82\xA0", i = "\x82\xA2", stop = "\x81\x42", ellipsis = "\x81\x63";
    // 日本でいちばん高い山は？
    const std::string strTallest = "\x93\xFA\x96\x7B\x82\xC5\x82\xA2\x82\xBF\x82\xCE\x82\xF1\x8D\x82\x82\xA2\x8E\x52\x82\xCD\x81\x48";
    const std::pair<std::string, std::vector<CRecordingTarget::Label>> cases[] = {
        {"", {{11, "", 300}}},
        {times(8, a), {{11, times(8, a), 300}}},
        {strTallest, {{11, strTallest, 210}}},
        // As wide as the area: it fits.
        {"ABCDEFGHIJKLMNOPQRS", {{11, "ABCDEFGHIJKLMNOPQRS", 270}}},
        // Broken after a space, which neither line keeps.
        {std::string(15, 'A') + " " + std::string(16, 'B'), {{93, std::string(15, 'A'), 200}, {124, std::string(16, 'B'), 200}}},
        // 40 characters; "。" does not begin the second line.
        {times(20, a) + stop + times(19, i), {{104, times(19, a), 120}, {124, a + stop + times(19, i), 120}}},
        {"What is the highest mountain in Japan? Answer in kanji",
         {{96, "What is the highest mountain", 180}, {124, "in Japan? Answer in kanji", 180}}},
        {times(60, a), {{104, times(21, a), 120}, {124, times(20, a) + ellipsis, 120}}},
    };
    for (const auto& [strText, labels] : cases) {
        CRecordingTarget target;
        m_field.DrawStatusText(target, strText, 300, 0);
        EXPECT_EQ(target.m_labels, labels) << strText;
    }
}

CCharObject At(int32_t x, int32_t y)
{
    CCharObject object;
    object.SetPosition(x, y);
    return object;
}

// Buttons hold their left and top edges but not their right and bottom ones,
// and are drawn hovered while the mouse is on them. Then what the panel draws
// in either mode.
TEST(FieldPanelTest, ButtonsHitAndHoverAndResultProgressAndPauseShowInTheirMode)
{
    CPlayField field;
    EXPECT_FALSE(field.HitStart(Point{0, 0})) << "no rectangle yet";
    // How many buttons are hovered, and so drawn lit.
    const auto hovered = [&field] {
        return field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit + field.m_bHoverRead;
    };
    EXPECT_EQ(hovered(), 0) << "none before the mouse moves";
    LayOutField(field, TemplateControlRect);
    // Each button's hit test and hover flag: the flag follows the mouse.
    const std::tuple<bool (CFieldPanel::*)(Point) const, Rect, int32_t CFieldPanel::*> buttons[] = {
        {&CFieldPanel::HitStart, field.m_rcStart, &CFieldPanel::m_bHoverStart},
        {&CFieldPanel::HitStop, field.m_rcStop, &CFieldPanel::m_bHoverStop},
        {&CFieldPanel::HitExit, field.m_rcExit, &CFieldPanel::m_bHoverExit},
        {&CFieldPanel::HitRead, field.m_rcRead, &CFieldPanel::m_bHoverRead}};
    for (const auto& [hit, rc, hover] : buttons) {
        EXPECT_TRUE((field.*hit)(Point{rc.left, rc.top})) << rc.left << "," << rc.top;
        EXPECT_TRUE((field.*hit)(Point{rc.right - 1, rc.bottom - 1})) << rc.left << "," << rc.top;
        for (Point pt : {Point{rc.left - 1, rc.top}, Point{rc.right, rc.top}, Point{rc.left, rc.bottom}})
            EXPECT_FALSE((field.*hit)(pt)) << pt.x << "," << pt.y;
        field.UpdateHover(Point{rc.left, rc.bottom - 1});
        EXPECT_TRUE(field.*hover == 1 && hovered() == 1) << rc.left << "," << rc.top;
    }
    field.UpdateHover(Point{221, 139});
    EXPECT_EQ(hovered(), 0);

    CQuizResult result;
    result.Add("APPLE", "APPLE", true);
    result.Add(std::string(20, 'A'), std::string(20, 'B'), false);
    result.Add("\x8c\xa2\x94\x4c", "\xa2\x8c", false); // 犬猫, and two bytes of it reversed
    result.Add(std::string(60, 'C'), "C", false);
    CResultRunner runner;
    runner.SetResult(result);
    const std::string strQuestion = "What is the highest mountain in Japan? Answer in kanji";
    runner.SetQuestionText(strQuestion);
    field.SetProgress(2, 5);
    field.SetPaused(true);
    CGamePainter painter(field, runner);
    painter.SetClientSize(TemplateClientSize());
    const auto draw = [&field, &painter] {
        CRecordingSurface surface;
        painter.Paint(surface);
        return surface.m_byText;
    };
    const std::string kScore = "4\x96\xe2\x92\x86" "1\x96\xe2\x90\xb3\x89\xf0"; // 4問中1問正解
    const std::string kAnswers = "\x93\x9a\x82\xa6";                             // 答え
    const std::string kPaused = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e";               // 一時停止

    // Menu: every text whole, in the area, clear of the title and the
    // buttons, and small enough to fit its box (or at the smallest size).
    auto labels = draw();
    for (const std::string& strText : {kScore, std::string(20, 'A'), std::string(20, 'B'),
                                       std::string("\x8c\xa2\x94\x4c"), std::string("\xa2\x8c")})
        EXPECT_EQ(labels.count(strText), 1u) << strText;
    EXPECT_EQ(labels.count("APPLE"), 2u);
    EXPECT_EQ(labels.count("2/5") + labels.count(kPaused), 0u);
    ASSERT_EQ(labels.count(kAnswers), 1u);
    EXPECT_EQ(labels.find(kAnswers)->second.second, 90);
    // Too long even at the smallest size: cut, with "…".
    const auto cut = labels.lower_bound("CCCC");
    EXPECT_TRUE(cut != labels.end() && cut->first.size() < 60 && cut->first.find("\x81\x63") != std::string::npos);
    for (const auto& [strText, label] : labels) {
        if (strText == "Start" || strText == "Exit" || strText == "Read" || strText.empty())
            continue;
        Rect overlap;
        EXPECT_TRUE(IntersectRect(overlap, label.first, field.GetArea()) && overlap == label.first) << strText;
        for (const Rect& rc : {field.m_rcTitle, field.m_rcRead, field.m_rcStart, field.m_rcExit})
            EXPECT_FALSE(IntersectRect(overlap, label.first, rc)) << strText;
        const int32_t nWidth = CRecordingTarget().MeasureLabel(strText, label.second).cx;
        EXPECT_TRUE(label.second == 60 || nWidth <= label.first.Width()) << strText;
    }

    // Play: the question in play left of Stop and the pause mark, no result.
    // The question stays in sight below the area, clear of the tiles, whole
    // on lines that fit.
    const auto question = [&](const auto& shown) {
        std::string strLines;
        for (const auto& [strText, label] : shown) {
            Rect overlap;
            if (IntersectRect(overlap, label.first, painter.GetQuestionRect())) {
                EXPECT_FALSE(IntersectRect(overlap, label.first, field.GetArea())) << strText;
                EXPECT_LE(CRecordingTarget().MeasureLabel(strText, label.second).cx, label.first.Width()) << strText;
                strLines += (strLines.empty() ? "" : " ") + strText;
            }
        }
        return strLines;
    };
    EXPECT_EQ(question(labels), "");
    field.SetRunning(1);
    field.PlaceTiles("Q");
    labels = draw();
    EXPECT_EQ(labels.find("Q")->second.second, 200) << "a tile's letter";
    EXPECT_EQ(labels.count("APPLE"), 0u);
    ASSERT_EQ(labels.count("2/5"), 1u);
    EXPECT_EQ(labels.find("2/5")->second.first, (Rect{11, 245, 106, 277}));
    EXPECT_TRUE(strQuestion.size() > 40 && question(labels).size() == strQuestion.size()) << question(labels);
    ASSERT_EQ(labels.count(kPaused), 1u);
    // The pause mark stands centred over the area, wide enough for its text.
    const Rect rcPaused = labels.find(kPaused)->second.first;
    EXPECT_EQ(rcPaused.left + rcPaused.right, field.GetArea().left + field.GetArea().right);
    EXPECT_GE(rcPaused.Width(), CRecordingTarget().MeasureLabel(kPaused, 300).cx);
    // A question too long for four lines at 9 points is cut.
    runner.SetQuestionText(std::string(300, 'x'));
    labels = draw();
    const auto last = std::find_if(labels.begin(), labels.end(), [](const auto& l) { return l.first.find("\x81\x63") != std::string::npos; });
    EXPECT_TRUE(last != labels.end() && last->second.second == 90 && question(labels).size() < 300);
    field.SetPaused(false);
    field.SetProgress(0, 5);
    labels = draw();
    EXPECT_EQ(labels.count("0/5") + labels.count(kPaused), 0u);
}

// Which points a rectangle holds: see the panel's buttons.
TEST(FieldObjectTest, RectanglesDistancesAndOverlaps)
{
    Rect out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{30, 0, 60, 30}));
    EXPECT_EQ(out, Rect{});
    EXPECT_TRUE(IntersectRect(out, Rect{0, 0, 30, 30}, Rect{29, 29, 60, 60}));
    EXPECT_EQ(out, (Rect{29, 29, 30, 30}));

    SetRect(out, 11, 11, 353, 238);
    InflateRect(out, -30, -30);
    OffsetRect(out, -1, 2);
    EXPECT_EQ(out, (Rect{40, 43, 322, 210}));

    // A field object's rectangle: its halves truncate toward zero. Which
    // objects overlap: see the eating test.
    CCharObject object = At(100, 50);
    EXPECT_EQ(object.GetRect(), (Rect{85, 35, 115, 65}));
    object.SetPosition(-7, -8);
    object.SetWidth(5);
    object.SetHeight(3);
    EXPECT_EQ(object.GetRect(), (Rect{-9, -9, -5, -7}));

    // {dx, dy, distance} from an object off the origin; near a perfect
    // square the root must not round either way.
    const int32_t distances[][3] = {{3, 4, 5},   {1, -1, 1},         {21, 21, 29},
                                    {-18, 24, 30}, {46340, 0, 46340}, {40000, 40000, 56568}};
    for (const auto& d : distances)
        EXPECT_EQ(At(-7, 5).Distance(At(d[0] - 7, d[1] + 5)), d[2]) << d[0] << "," << d[1];

    // Steps truncate; Assign keeps the steps.
    CCharObject moved;
    moved.SetSteps(2.9, -2.9);
    moved.StepLeft();
    moved.StepUp();
    EXPECT_EQ(moved.GetPosition(), (Point{-2, 2}));
    moved.StepDownRight();
    moved.Offset(5, -6);
    EXPECT_EQ(moved.GetPosition(), (Point{5, -6}));

    CCharObject source = At(40, 60);
    source.SetText("A");
    source.SetWidth(12);
    source.SetSteps(9.0, 9.0);
    moved.Assign(source);
    EXPECT_TRUE(moved.GetText() == "A" && moved.GetPosition() == (Point{40, 60}) && moved.GetWidth() == 12);
    EXPECT_EQ(moved.GetStepX(), 2.9) << "Assign must not copy the steps";
    moved.Assign(moved);
    EXPECT_EQ(moved.GetText(), "A");
    EXPECT_EQ(CCharObject(source).GetStepX(), 9.0) << "a copy takes everything";
}

TEST(PlacementTest, KeepsTheRulesWhileTheyCanBeMetNeverHangsAndFollowsTheSeed)
{
    // The tile centres PlaceTiles picks for an answer of nLength bytes.
    const auto layout = [](const Rect& rcArea, uint32_t seed, size_t nLength = 6) {
        CPlayField field;
        field.SetArea(rcArea);
        SeedRandom(seed);
        field.PlaceTiles(std::string(nLength, 'x'));
        std::vector<Point> points;
        for (int32_t i = 0; i < field.GetTileCount(); ++i)
            points.push_back(field.GetTile(i)->GetPosition());
        return points;
    };
    const Rect rcPlace{41, 41, 323, 208};
    const Rect rcCentre{81, 61, 283, 188};
    // The pixels right outside the central box on each side: tiles reach
    // every one of them, so the box is no larger than it should be.
    const Rect edges[] = {{80, 61, 81, 188}, {283, 61, 284, 188}, {81, 60, 283, 61}, {81, 188, 283, 189}};
    int32_t nOnEdge[4] = {};
    // 300 tiles are far past what the ring can take: still inside the
    // placement rectangle and outside the central box, and it returns.
    for (size_t nLength : {5, 14, 23, 300}) {
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            const std::vector<Point> points = layout(kArea, seed, nLength);
            ASSERT_EQ(points.size(), nLength);
            int32_t nTooClose = 0;
            for (size_t i = 0; i < nLength; ++i) {
                ASSERT_TRUE(PtInRect(rcPlace, points[i])) << "seed " << seed;
                ASSERT_FALSE(PtInRect(rcCentre, points[i])) << "seed " << seed;
                for (int32_t e = 0; e < 4; ++e)
                    nOnEdge[e] += PtInRect(edges[e], points[i]);
                for (size_t j = 0; j < i; ++j)
                    nTooClose += At(points[i].x, points[i].y).Distance(At(points[j].x, points[j].y)) < 30;
            }
            // 23 tiles fit the ring for these seeds: the spacing is a
            // distance, and the map of free places knows it exactly.
            EXPECT_TRUE(nLength > 23 || nTooClose == 0) << "seed " << seed << ", " << nLength << " tiles";
            // Past the rules, each tile still takes a place of its own.
            std::vector<Point> sorted = points;
            std::sort(sorted.begin(), sorted.end(), [](Point a, Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
            EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "seed " << seed;
        }
    }
    for (int32_t e = 0; e < 4; ++e)
        EXPECT_GT(nOnEdge[e], 0) << "edge " << e;

    // The same seed gives the same layout. No area yet, too narrow (even for
    // the margins), or no room for the placement rectangle: the centre.
    EXPECT_EQ(layout(kArea, 42), layout(kArea, 42));
    EXPECT_NE(layout(kArea, 42), layout(kArea, 43));
    EXPECT_EQ(layout(Rect{}, 1), std::vector<Point>(6, Point{0, 0}));
    EXPECT_EQ(layout(Rect{0, 0, 60, 200}, 1), std::vector<Point>(6, Point{30, 100}));
    EXPECT_EQ(layout(Rect{0, 0, 40, 200}, 1), std::vector<Point>(6, Point{20, 100}));
    EXPECT_EQ(layout(Rect{0, 0, 61, 61}, 1), std::vector<Point>(6, Point{30, 30}));
}

} // namespace
