#include "rect_compare.h"
#include "field/play_field.h"
#include "field/text_fitter.h"
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
struct CResultRunner : CQuizRunner { using CQuizRunner::SetQuestionText; using CQuizRunner::SetResult; };

// The dialog's play area.
const Rect kArea{11, 11, 353, 238};

class PlayFieldTest : public ::testing::Test
{
protected:
    PlayFieldTest() { m_field.SetArea(kArea); m_field.CentreSnake(); }
    // Where the head is after one more step.
    Point StepTo() { m_field.Step(); return m_snake.GetPosition(); }

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

// Distances from an object off the origin: near a perfect square the root
// must not round either way, and far apart the square must not overflow.
// Assign takes text, place and size but keeps the steps; a copy takes all.
TEST(FieldObjectTest, DistancesStepsAndAssign)
{
    const auto at = [](int32_t x, int32_t y) { CCharObject o; o.SetPosition(x, y); return o; };
    const int32_t distances[][3] = {{3, 4, 5},     {1, -1, 1},       {21, 21, 29},
                                    {-18, 24, 30}, {46340, 0, 46340}, {40000, 40000, 56568}};
    for (const auto& d : distances)
        EXPECT_EQ(at(-7, 5).Distance(at(d[0] - 7, d[1] + 5)), d[2]) << d[0] << "," << d[1];
    // The interface's own steps, which nothing in the game calls, truncate.
    CCharObject moved, source = at(40, 60);
    moved.SetSteps(2.9, -2.9);
    moved.StepLeft();
    moved.StepUp();
    moved.StepDownRight();
    moved.Offset(5, -6);
    EXPECT_EQ(moved.GetPosition(), (Point{5, -6}));
    source.SetText("A");
    source.SetWidth(12);
    source.SetSteps(9.0, 9.0);
    moved.Assign(source);
    moved.Assign(moved);
    EXPECT_TRUE(moved.GetText() == "A" && moved.GetPosition() == (Point{40, 60}) && moved.GetWidth() == 12);
    EXPECT_TRUE(moved.GetStepX() == 2.9 && CCharObject(source).GetStepX() == 9.0);
}

TEST_F(PlayFieldTest, EatsEveryTouchedTileInListOrderGrowsOnTheHeadAndKeepsHalves)
{
    m_field.StartQuestion();
    // After one step right the head is at (202, 124). Tiles 0 and 2 are under
    // it, tile 1 is one pixel too far, tile 3 touches only along an edge.
    m_field.PlaceTiles("ABCD");
    const Point tiles[] = {{220, 140}, {232, 124}, {190, 110}, {202, 154}};
    for (int32_t i = 0; i < 4; ++i)
        m_field.GetTile(i)->SetPosition(tiles[i]);
    m_field.Step();
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
    EXPECT_EQ(m_snake.GetText(), "ACBD") << "text in eating order, not answer order";

    // Answers become one tile per byte; the halves of a character pair from
    // the first byte on: 8E 52 is a character too, 81 a lead byte. Letters,
    // half-width katakana, an unassigned pair and bytes of no character are
    // whole.
    constexpr int32_t W = CCharObject::Whole, L = CCharObject::LeftHalf, R = CCharObject::RightHalf;
    const std::pair<std::string, std::vector<int32_t>> cases[] = {
        {"", {}}, {"\x8c\xa2\x90\xb3", {L, R, L, R}}, {"\x83\x8E\x52", {L, R, W}}, {"\x81\x81\x81", {L, R, W}},
        {"A\xB1\x85\x40\x80\xA0\xFD", {W, W, W, W, W, W, W}}};
    for (const auto& [strAnswer, halves] : cases) {
        m_snake.RemoveAllSegments();
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
            EXPECT_EQ(segment.GetHalf(), halves[static_cast<size_t>(k)]) << strAnswer << " " << k;
            const size_t nFirst = static_cast<size_t>(k - (segment.GetHalf() == R));
            EXPECT_EQ(segment.Character(), segment.GetHalf() == W ? "" : strAnswer.substr(nFirst, 2));
        }
    }

    // Halves of two characters make one where their bytes do: 81 A0 is a
    // character, 82 41 none.
    m_field.PlaceTiles("\x81\x41\x82\xA0");
    for (int32_t k = 0; k < 4; ++k)
        m_field.GetTile(k)->SetPosition(Point{202, 124});
    EXPECT_TRUE(CPlayField::IsCharacterPair(*m_field.GetTile(0), *m_field.GetTile(3)));
    EXPECT_FALSE(CPlayField::IsCharacterPair(*m_field.GetTile(2), *m_field.GetTile(1)));
}

TEST_F(PlayFieldTest, StatusTextShrinksThenTakesTwoLinesThenEndsInAnEllipsis)
{
    const auto times = [](int n, const std::string& str) { std::string strOut; while (n-- > 0) strOut += str; return strOut; };
    const std::string a = "\x82\xA0", i = "\x82\xA2", stop = "\x81\x42", ellipsis = "\x81\x63";
    // 日本でいちばん高い山は？
    const std::string strTallest = "\x93\xFA\x96\x7B\x82\xC5\x82\xA2\x82\xBF\x82\xCE\x82\xF1\x8D\x82\x82\xA2\x8E\x52\x82\xCD\x81\x48";
    const std::pair<std::string, std::vector<CRecordingTarget::Label>> cases[] = {
        // The last one as wide as the area: it fits.
        {"", {{11, "", 300}}}, {times(8, a), {{11, times(8, a), 300}}}, {strTallest, {{11, strTallest, 210}}},
        {"ABCDEFGHIJKLMNOPQRS", {{11, "ABCDEFGHIJKLMNOPQRS", 270}}},
        // Broken after a space, which neither line keeps.
        {std::string(15, 'A') + " " + std::string(16, 'B'), {{93, std::string(15, 'A'), 200}, {124, std::string(16, 'B'), 200}}},
        // 40 characters; "。" does not begin the second line.
        {times(20, a) + stop + times(19, i), {{104, times(19, a), 120}, {124, a + stop + times(19, i), 120}}},
        {"What is the highest mountain in Japan? Answer in kanji",
         {{96, "What is the highest mountain", 180}, {124, "in Japan? Answer in kanji", 180}}},
        {i + times(59, a), {{104, i + times(20, a), 120}, {124, times(20, a) + ellipsis, 120}}},
    };
    for (const auto& [strText, labels] : cases) {
        CRecordingTarget target;
        m_field.DrawStatusText(target, strText, 300, 0);
        EXPECT_EQ(target.m_labels, labels) << strText;
    }
    // A box too narrow for any letter gets the smallest size.
    CRecordingTarget target;
    EXPECT_EQ(CTextFitter(100, 60, 60, 1).Fit(target, "ABC", Rect{0, 0, 1, 30}).nSize, 60);
}

// Buttons hold their left and top edges but not their right and bottom ones,
// and are drawn hovered while the mouse is on them. Then what the panel draws
// in either mode.
TEST(FieldPanelTest, ButtonsHitAndHoverAndResultProgressAndPauseShowInTheirMode)
{
    CPlayField field;
    // How many buttons are hovered, and so drawn lit.
    const auto hovered = [&field] { return field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit + field.m_bHoverRead; };
    EXPECT_EQ(hovered(), 0) << "none before the mouse moves";
    LayOutField(field, TemplateControlRect);
    const std::tuple<bool (CFieldPanel::*)(Point) const, Rect, int32_t CFieldPanel::*> buttons[] = {
        {&CFieldPanel::HitStart, field.m_rcStart, &CFieldPanel::m_bHoverStart},
        {&CFieldPanel::HitStop, field.m_rcStop, &CFieldPanel::m_bHoverStop},
        {&CFieldPanel::HitExit, field.m_rcExit, &CFieldPanel::m_bHoverExit},
        {&CFieldPanel::HitRead, field.m_rcRead, &CFieldPanel::m_bHoverRead}};
    for (const auto& [hit, rc, hover] : buttons) {
        EXPECT_TRUE((field.*hit)(Point{rc.left, rc.top}) && (field.*hit)(Point{rc.right - 1, rc.bottom - 1})) << rc.left << "," << rc.top;
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
    const auto draw = [&painter] { CRecordingSurface surface; painter.Paint(surface); return surface.m_byText; };
    const std::string kScore = "4\x96\xe2\x92\x86" "1\x96\xe2\x90\xb3\x89\xf0"; // 4問中1問正解
    const std::string kAnswers = "\x93\x9a\x82\xa6";                             // 答え
    const std::string kPaused = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e";               // 一時停止
    const std::string kEllipsis = "\x81\x63";
    // The lines shown below the area, where the question stays in sight:
    // clear of the tiles, each fitting its box.
    const auto question = [&](const auto& shown) {
        std::string strLines;
        for (const auto& [strText, label] : shown) {
            Rect overlap;
            if (IntersectRect(overlap, label.first, painter.GetQuestionRect())) {
                EXPECT_FALSE(IntersectRect(overlap, label.first, field.GetArea())) << strText;
                EXPECT_LE(CRecordingTarget().MeasureLabel(strText, label.second).cx, label.first.Width()) << strText;
                EXPECT_TRUE(label.first.left > painter.GetQuestionRect().left &&
                            label.first.right < painter.GetQuestionRect().right) << "on the frame: " << strText;
                strLines += (strLines.empty() ? "" : "|") + strText;
            }
        }
        return strLines;
    };

    // Menu: every text whole, in the area, clear of the title and the
    // buttons, and small enough to fit its box (or at the smallest size); a
    // row too long even at the smallest size is cut, with "…".
    auto labels = draw();
    for (const std::string& strText : {kScore, std::string(20, 'A'), std::string(20, 'B'), std::string("\x8c\xa2\x94\x4c"), std::string("\xa2\x8c")})
        EXPECT_EQ(labels.count(strText), 1u) << strText;
    EXPECT_TRUE(labels.count("APPLE") == 2 && labels.find("APPLE")->second.second == 100);
    EXPECT_TRUE(labels.count(kAnswers) == 1 && labels.find(kAnswers)->second.second == 90) << "the heading";
    const auto cut = labels.lower_bound("CCCC");
    EXPECT_TRUE(cut != labels.end() && cut->first.size() < 60 && cut->first.find(kEllipsis) != std::string::npos);
    EXPECT_EQ(labels.count("2/5") + labels.count(kPaused) + question(labels).size(), 0u);
    for (const auto& [strText, label] : labels) {
        if (strText == "Start" || strText == "Exit" || strText == "Read" || strText.empty())
            continue;
        Rect overlap;
        EXPECT_TRUE(IntersectRect(overlap, label.first, field.GetArea()) && overlap == label.first) << strText;
        for (const Rect& rc : {field.m_rcTitle, field.m_rcRead, field.m_rcStart, field.m_rcExit})
            EXPECT_FALSE(IntersectRect(overlap, label.first, rc)) << strText;
        EXPECT_TRUE(label.second == 60 || CRecordingTarget().MeasureLabel(strText, label.second).cx <= label.first.Width()) << strText;
    }

    // Play: a tile's letter, the question in play left of Stop, whole, and
    // the pause mark centred over the area, wide enough for its text; no
    // result.
    field.SetRunning(1);
    field.PlaceTiles("Q");
    labels = draw();
    EXPECT_EQ(labels.find("Q")->second.second, 200);
    EXPECT_EQ(labels.count("APPLE"), 0u);
    ASSERT_TRUE(labels.count("2/5") == 1 && labels.count(kPaused) == 1);
    EXPECT_EQ(labels.find("2/5")->second.first, (Rect{11, 245, 106, 277}));
    EXPECT_TRUE(strQuestion.size() > 40 && question(labels).size() == strQuestion.size()) << question(labels);
    const Rect rcPaused = labels.find(kPaused)->second.first;
    EXPECT_EQ(rcPaused.left + rcPaused.right, field.GetArea().left + field.GetArea().right);
    EXPECT_EQ(rcPaused.top + rcPaused.bottom, 2 * (field.GetArea().top + field.GetArea().Height() / 4)) << "a quarter down";
    EXPECT_GE(rcPaused.Width(), CRecordingTarget().MeasureLabel(kPaused, 300).cx);
    // A question too long for four lines at 9 points is cut.
    runner.SetQuestionText(std::string(300, 'x'));
    labels = draw();
    const auto last = std::find_if(labels.begin(), labels.end(), [&](const auto& l) { return l.first.find(kEllipsis) != std::string::npos; });
    EXPECT_TRUE(last != labels.end() && last->second.second == 90 && question(labels).size() < 300);
    // One with a single place to break takes two lines, not more; one with
    // two, three of about equal length, at more than the smallest size.
    const std::string x(21, 'x'), y(20, 'y'), z(20, 'z');
    runner.SetQuestionText(x + " " + y);
    EXPECT_EQ(question(draw()), x + "|" + y);
    runner.SetQuestionText(x + " " + y + " " + z);
    labels = draw();
    EXPECT_TRUE(question(labels) == x + "|" + y + "|" + z && labels.find(z)->second.second == 100) << question(labels);
    field.SetPaused(false);
    field.SetProgress(0, 5);
    labels = draw();
    EXPECT_EQ(labels.count("0/5") + labels.count(kPaused), 0u);
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
    // The pixels right outside the central box on each side: tiles placed
    // by the rules reach every one of them, so the box is no larger than it
    // should be.
    const Rect edges[] = {{80, 61, 81, 188}, {283, 61, 284, 188}, {81, 60, 283, 61}, {81, 188, 283, 189}};
    int32_t nOnEdge[4] = {};
    // 300 tiles are far past what the ring can take: still inside the
    // placement rectangle and outside the central box, and it returns.
    for (size_t nLength : {5, 14, 23, 300}) {
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            const std::vector<Point> points = layout(kArea, seed, nLength);
            ASSERT_EQ(points.size(), nLength);
            int32_t nTooClose = 0, nShared = 0;
            for (size_t i = 0; i < nLength; ++i) {
                ASSERT_TRUE(PtInRect(rcPlace, points[i]) && !PtInRect(rcCentre, points[i])) << "seed " << seed;
                for (int32_t e = 0; e < 4; ++e)
                    nOnEdge[e] += nLength < 300 && PtInRect(edges[e], points[i]);
                for (size_t j = 0; j < i; ++j) {
                    const int32_t dx = points[i].x - points[j].x, dy = points[i].y - points[j].y;
                    nTooClose += dx * dx + dy * dy < 30 * 30;
                    nShared += dx == 0 && dy == 0;
                }
            }
            // 23 tiles fit the ring for these seeds: the spacing is a
            // distance, and the map of free places knows it exactly. Past the
            // rules, each tile still takes a place of its own.
            EXPECT_TRUE((nLength > 23 || nTooClose == 0) && nShared == 0) << "seed " << seed << ", " << nLength << " tiles";
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
