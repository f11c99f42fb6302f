#include "field/play_field.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Label = std::tuple<int32_t, std::string, int32_t>; // top, text, size

// Keeps the labels; measures as the game's fixed-width face does at 96 dpi,
// a byte half as wide as the pixel size.
class LayoutTarget : public CDrawTarget
{
public:
    void DrawBox(Rect, Colour, Colour) override {}
    void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour) override
    {
        m_labels.emplace_back(rc.top, strText, nSize);
        m_byText.emplace(strText, std::make_pair(rc, nSize));
    }
    void DrawLabelPart(Rect, Rect, const std::string&, int32_t, Colour) override {}
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override
    {
        const int32_t nPixels = (nSize * 96 + 360) / 720;
        return TextExtent{static_cast<int32_t>(strText.size()) * nPixels / 2, nPixels + 4};
    }
    void DrawBall(Rect) override {}
    std::vector<Label> m_labels;
    std::multimap<std::string, std::pair<Rect, int32_t>> m_byText;
};

std::string Times(int n, const std::string& str)
{
    std::string strOut;
    while (n-- > 0)
        strOut += str;
    return strOut;
}

} // namespace

TEST(StatusTextTest, ShrinksThenTakesTwoLinesThenEndsInAnEllipsis)
{
    const std::string a = "\x82\xA0", i = "\x82\xA2", stop = "\x81\x42", ellipsis = "\x81\x63";
    const std::string strTallest = "\x93\xFA\x96\x7B\x82\xC5\x82\xA2\x82\xBF\x82\xCE\x82\xF1\x8D\x82\x82\xA2\x8E\x52\x82\xCD\x81\x48";
    const struct
    {
        std::string strText;
        std::vector<Label> labels;
    } cases[] = {
        {"", {{11, "", 300}}},
        {Times(8, a), {{11, Times(8, a), 300}}},
        // 日本でいちばん高い山は？
        {strTallest, {{11, strTallest, 210}}},
        // 40 characters; "。" does not begin the second line.
        {Times(20, a) + stop + Times(19, i), {{104, Times(19, a), 120}, {124, a + stop + Times(19, i), 120}}},
        {"What is the highest mountain in Japan? Answer in kanji",
         {{96, "What is the highest mountain", 180}, {124, "in Japan? Answer in kanji", 180}}},
        {Times(60, a), {{104, Times(21, a), 120}, {124, Times(20, a) + ellipsis, 120}}},
    };
    CPlayField field;
    field.SetArea(Rect{11, 11, 353, 238});
    for (const auto& c : cases) {
        LayoutTarget target;
        field.DrawStatusText(target, c.strText, 300, 0);
        EXPECT_EQ(target.m_labels, c.labels) << c.strText;
    }
}

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
        LayoutTarget dc;
        field.Draw(dc, "");
        return dc.m_byText;
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
        EXPECT_TRUE(IntersectRect(overlap, label.first, field.GetArea()) && overlap == label.first)
            << strText;
        for (const Rect& rc : {field.m_rcTitle, field.m_rcRead, field.m_rcStart, field.m_rcExit})
            EXPECT_FALSE(IntersectRect(overlap, label.first, rc)) << strText;
        const int32_t nWidth = LayoutTarget().MeasureLabel(strText, label.second).cx;
        EXPECT_TRUE(label.second == 60 || nWidth <= label.first.Width()) << strText;
    }

    // Play: the question in play left of Stop and the pause mark, no result.
    field.SetRunning(1);
    labels = draw();
    EXPECT_EQ(labels.count("APPLE"), 0u);
    ASSERT_EQ(labels.count("2/5"), 1u);
    EXPECT_EQ(labels.find("2/5")->second.first, (Rect{11, 245, 106, 277}));
    EXPECT_EQ(labels.count(kPaused), 1u);
    field.SetPaused(false);
    field.SetProgress(0, 5);
    labels = draw();
    EXPECT_EQ(labels.count("0/5") + labels.count(kPaused), 0u);
}
