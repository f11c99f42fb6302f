#include "field/play_field.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

TEST(FieldPanelHitTest, ButtonsHoldTheirLeftTopEdgeButNotRightBottom)
{
    CPlayField field;
    EXPECT_FALSE(field.HitStart(Point{0, 0})) << "no rectangle yet";
    field.m_rcStart = Rect{126, 146, 221, 178};
    field.m_rcStop = Rect{258, 245, 353, 277};
    field.m_rcExit = Rect{126, 185, 221, 217};
    field.m_rcRead = Rect{126, 107, 221, 139};
    const std::pair<bool (CFieldPanel::*)(Point) const, Rect> buttons[] = {
        {&CFieldPanel::HitStart, field.m_rcStart},
        {&CFieldPanel::HitStop, field.m_rcStop},
        {&CFieldPanel::HitExit, field.m_rcExit},
        {&CFieldPanel::HitRead, field.m_rcRead}};
    for (const auto& [hit, rc] : buttons) {
        EXPECT_TRUE((field.*hit)(Point{rc.left, rc.top})) << rc.left << "," << rc.top;
        EXPECT_TRUE((field.*hit)(Point{rc.right - 1, rc.bottom - 1})) << rc.left << "," << rc.top;
        for (Point pt : {Point{rc.left - 1, rc.top}, Point{rc.right, rc.top}, Point{rc.left, rc.bottom}})
            EXPECT_FALSE((field.*hit)(pt)) << pt.x << "," << pt.y;
    }

    // Hover follows the mouse on every button, in either mode.
    field.UpdateHover(Point{126, 107});
    EXPECT_EQ(field.m_bHoverRead, 1);
    EXPECT_EQ(field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit, 0);
    field.SetRunning(1);
    field.UpdateHover(Point{258, 245});
    EXPECT_EQ(field.m_bHoverStop, 1);
    EXPECT_EQ(field.m_bHoverRead, 0);
    field.UpdateHover(Point{221, 139});
    EXPECT_EQ(field.m_bHoverStart + field.m_bHoverStop + field.m_bHoverExit + field.m_bHoverRead, 0);
}

namespace {

// Keeps the labels a draw puts, and nothing else.
struct Label
{
    Rect rc;
    std::string strText;
    int32_t nSize;
};
class LabelRecorder : public CDrawTarget
{
public:
    void DrawBox(Rect, Colour, Colour) override {}
    void DrawLabel(Rect rc, const std::string& s, int32_t n, Colour) override
    {
        m_labels.emplace(s, Label{rc, s, n});
    }
    void DrawBall(Rect) override {}
    std::multimap<std::string, Label> m_labels;
};

} // namespace

TEST(FieldPanelDrawTest, ResultProgressAndPauseShowInTheirModeAndTheResultKeepsClearOfTheMenu)
{
    CPlayField field;
    field.SetArea(Rect{11, 11, 353, 238});
    field.m_rcTitle = Rect{27, 35, 332, 89};
    field.m_rcRead = Rect{126, 107, 221, 139};
    field.m_rcStart = Rect{126, 146, 221, 178};
    field.m_rcExit = Rect{126, 185, 221, 217};
    field.m_rcStop = Rect{258, 245, 353, 277};
    CQuizResult result;
    result.Add("APPLE", "APPLE", true);
    result.Add(std::string(20, 'A'), std::string(20, 'B'), false);
    result.Add("\x8c\xa2\x94\x4c", "\xa2\x8c", false); // 犬猫, and two bytes of it reversed
    field.SetResult(result);
    field.SetProgress(2, 5);
    field.SetPaused(true);
    const auto draw = [&field] {
        LabelRecorder dc;
        field.Draw(dc, "");
        return dc.m_labels;
    };
    const std::string kScore = "3\x96\xe2\x92\x86" "1\x96\xe2\x90\xb3\x89\xf0"; // 3問中1問正解
    const std::string kPaused = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e";               // 一時停止

    // Menu: every text whole, in the area, clear of the title and the
    // buttons, and small enough to fit its box (or at the smallest size).
    auto labels = draw();
    for (const std::string& strText : {kScore, std::string(20, 'A'), std::string(20, 'B'),
                                       std::string("\x8c\xa2\x94\x4c"), std::string("\xa2\x8c")})
        EXPECT_EQ(labels.count(strText), 1u) << strText;
    EXPECT_EQ(labels.count("APPLE"), 2u);
    EXPECT_EQ(labels.count("2/5") + labels.count(kPaused), 0u);
    for (const auto& [strText, label] : labels) {
        if (strText == "Start" || strText == "Exit" || strText == "Read" || strText.empty())
            continue;
        Rect overlap;
        EXPECT_TRUE(IntersectRect(overlap, label.rc, field.GetArea()) && overlap == label.rc)
            << strText;
        for (const Rect& rc : {field.m_rcTitle, field.m_rcRead, field.m_rcStart, field.m_rcExit})
            EXPECT_FALSE(IntersectRect(overlap, label.rc, rc)) << strText;
        const int32_t nWidth = static_cast<int32_t>(strText.size()) * label.nSize / 15;
        EXPECT_TRUE(label.nSize == 60 || nWidth <= label.rc.Width()) << strText;
    }

    // Play: the question in play left of Stop and the pause mark, no result.
    field.SetRunning(1);
    labels = draw();
    EXPECT_EQ(labels.count("APPLE"), 0u);
    ASSERT_EQ(labels.count("2/5"), 1u);
    EXPECT_EQ(labels.find("2/5")->second.rc, (Rect{11, 245, 106, 277}));
    EXPECT_EQ(labels.count(kPaused), 1u);
    field.SetPaused(false);
    field.SetProgress(0, 5);
    labels = draw();
    EXPECT_EQ(labels.count("0/5") + labels.count(kPaused), 0u);
}
