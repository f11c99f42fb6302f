#include "field/play_field.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
    }
    void DrawLabelPart(Rect, Rect, const std::string&, int32_t, Colour) override {}
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override
    {
        const int32_t nPixels = (nSize * 96 + 360) / 720;
        return TextExtent{static_cast<int32_t>(strText.size()) * nPixels / 2, nPixels + 4};
    }
    void DrawBall(Rect) override {}
    std::vector<Label> m_labels;
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
