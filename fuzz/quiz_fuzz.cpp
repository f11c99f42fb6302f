// Feeds arbitrary bytes as a question file through the cell table and the
// loader, and checks both against a plain reading of the format, after a
// plain reading of UTF-8 for a file that is UTF-8. The bytes are read from
// memory: the reader splits them into lines as it does a file's buffers.

#include "platform/code_page.h"
#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"
#include "quiz/question_set.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) {                                                    \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            std::abort();                                                      \
        }                                                                      \
    } while (false)

// The format, read the simplest way: LF ends a line, a CR before it goes, a
// final LF starts no line; fields end at commas, a last empty one is none.
// The fields are views of the bytes, kept in one list.
class CReference
{
public:
    explicit CReference(std::string_view strBytes)
    {
        m_fields.reserve(static_cast<size_t>(std::count(strBytes.begin(), strBytes.end(), ',')) +
                         static_cast<size_t>(std::count(strBytes.begin(), strBytes.end(), '\n')) + 1);
        for (size_t nStart = 0; nStart < strBytes.size();) {
            const size_t nEnd = std::min(strBytes.find('\n', nStart), strBytes.size());
            std::string_view strLine = strBytes.substr(nStart, nEnd - nStart);
            if (nEnd < strBytes.size() && !strLine.empty() && strLine.back() == '\r')
                strLine.remove_suffix(1);
            m_starts.push_back(m_fields.size());
            for (size_t nField = 0, i = 0; i <= strLine.size(); ++i) {
                if (i == strLine.size() || strLine[i] == ',') {
                    m_fields.push_back(strLine.substr(nField, i - nField));
                    nField = i + 1;
                }
            }
            if (m_fields.back().empty())
                m_fields.pop_back();
            m_nWidest = std::max(m_nWidest, m_fields.size() - m_starts.back());
            nStart = nEnd + 1;
        }
        m_starts.push_back(m_fields.size());
    }

    int32_t Lines() const { return static_cast<int32_t>(m_starts.size() - 1); }
    int32_t Widest() const { return static_cast<int32_t>(m_nWidest); }
    // Empty for a field that the line lacks and for a line that is not there.
    std::string_view Field(int32_t nLine, int32_t nField) const
    {
        if (nLine < 0 || nLine >= Lines() || nField < 0)
            return std::string_view();
        const size_t nAt = m_starts[static_cast<size_t>(nLine)] + static_cast<size_t>(nField);
        return nAt < m_starts[static_cast<size_t>(nLine) + 1] ? m_fields[nAt] : std::string_view();
    }

private:
    std::vector<std::string_view> m_fields;
    std::vector<size_t> m_starts;
    size_t m_nWidest = 0;
};

// UTF-8 read the simplest way: calls fn with each code point, or returns
// false for bytes that are not UTF-8 (overlong forms, surrogates, past
// U+10FFFF, cut short).
template <class F>
bool ReferenceUtf8(std::string_view strBytes, F&& fn)
{
    for (size_t i = 0; i < strBytes.size();) {
        const auto b = static_cast<unsigned char>(strBytes[i]);
        const size_t n = b < 0x80 ? 1 : b >> 5 == 6 ? 2 : b >> 4 == 14 ? 3 : b >> 3 == 30 ? 4 : 0;
        if (n == 0 || i + n > strBytes.size())
            return false;
        char32_t c = n == 1 ? b : b & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto next = static_cast<unsigned char>(strBytes[i + k]);
            if (next >> 6 != 2)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        fn(c);
        i += n;
    }
    return true;
}

// Whether the file is UTF-8, and if so the bytes the loader should see: its
// lines converted; nBadLine is then the first line that cannot be (0: none).
bool ConvertedUtf8(std::string_view strBytes, std::string& strOut, int32_t& nBadLine)
{
    nBadLine = 0;
    const bool bMark = strBytes.substr(0, 3) == "\xEF\xBB\xBF";
    bool bWide = false;
    bool bControl = false;
    const bool bWellFormed = !bMark && ReferenceUtf8(strBytes, [&](char32_t c) {
        bWide = bWide || c >= 0x800;
        bControl = bControl || (c >= 0x80 && c <= 0x9F);
    });
    if (!bMark && !(bWellFormed && bWide && !bControl))
        return false;
    // The mark belongs to the first line: the mark alone is one empty line.
    if (strBytes.size() == 3 && bMark) {
        strOut = "\n";
        return true;
    }
    size_t nStart = bMark ? 3 : 0;
    for (int32_t nLine = 1; nStart <= strBytes.size(); ++nLine) {
        const size_t nEnd = std::min(strBytes.find('\n', nStart), strBytes.size());
        const std::string_view strLine = strBytes.substr(nStart, nEnd - nStart);
        std::string strConverted;
        if (AppendUtf8AsCodePage932(strLine, strConverted) != std::string_view::npos) {
            nBadLine = nLine;
            strOut.clear();
            return true;
        }
        // Converted faithfully: the same characters come back, but for the
        // other tables' forms that the code page takes as its own.
        std::u32string line;
        FUZZ_CHECK(ReferenceUtf8(strLine, [&line](char32_t c) { line.push_back(c); }));
        const std::u16string back = DecodeCodePage932(strConverted);
        FUZZ_CHECK(back.size() == line.size());
        const std::u32string_view from = U"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014\u00A5\u203E\u00C5";
        const std::u16string_view to = u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015\\~\u212B";
        for (size_t i = 0; i < line.size(); ++i) {
            const size_t nOther = from.find(line[i]);
            FUZZ_CHECK(back[i] == (nOther == std::u32string::npos ? line[i] : to[nOther]));
        }
        strOut += strConverted;
        if (nEnd < strBytes.size())
            strOut += '\n';
        nStart = nEnd + 1;
    }
    return true;
}

// The table read from a file that loads: one cell per field and line.
void CheckTable(CCsvFile& file, const CReference& reference, bool bUtf8)
{
    const int32_t nLines = reference.Lines();
    FUZZ_CHECK(file.IsUtf8() == bUtf8);
    FUZZ_CHECK(file.GetColumnCount() == (nLines > 0 ? reference.Widest() : 0));
    FUZZ_CHECK(file.GetMaxRowCount() == (reference.Widest() > 0 ? nLines : 0));
    const int32_t nColumns = file.GetColumnCount();
    FUZZ_CHECK(nColumns > 0 || nLines > 0 || file.GetColumn(0) == nullptr);
    for (int32_t c = 0; c < nColumns && c < 4; ++c) {
        FUZZ_CHECK(file.GetRowCount(c) == nLines);
        for (int32_t r = 0; r < nLines; ++r)
            FUZZ_CHECK(file.GetCell(c, r) == reference.Field(r, c));
        FUZZ_CHECK(file.GetCell(c, nLines).empty());
        FUZZ_CHECK(file.GetCell(c, -1).empty());
    }
    // Asking beyond the columns adds one of empty cells when there are rows.
    FUZZ_CHECK(file.GetCell(nColumns + 3, 0).empty());
    FUZZ_CHECK(file.GetColumnCount() == nColumns + (nLines > 0 ? 1 : 0));
    FUZZ_CHECK(file.GetMaxRowCount() == (nLines > 0 ? nLines : 0));
}

// The three ways an input is read.
enum : unsigned { kTable = 1, kFirstFive = 2, kEveryLine = 4 };

void Check(std::string_view strBytes, unsigned nWays)
{
    std::string strConverted;
    int32_t nBadLine = 0;
    const bool bUtf8 = ConvertedUtf8(strBytes, strConverted, nBadLine);
    const CReference reference(bUtf8 ? std::string_view(strConverted) : strBytes);

    if (nWays & kTable) {
        CCsvFile file;
        file.OpenText(std::string(strBytes));
        int32_t nThrown = 0;
        try {
            FUZZ_CHECK(file.ReadAll());
        } catch (const CQuestionFileError& e) {
            nThrown = e.GetLine();
        }
        FUZZ_CHECK(nThrown == nBadLine);
        if (nBadLine == 0)
            CheckTable(file, reference, bUtf8);
    }

    // Loads the first nRows lines; a line that cannot be converted or an
    // answer over the bound among them loads nothing and names the first such
    // line, as does a set without any answer (line 0), and the questions the
    // set had stay.
    CQuestionSet set;
    set.Add("Q", "A");
    const auto load = [&](int32_t nCount, int32_t nRows) {
        int32_t nFailing = nBadLine;
        bool bPlayable = false;
        for (int32_t i = nRows - 1; i >= 0 && nBadLine == 0; --i) {
            if (reference.Field(i, 0).size() > CQuestionSet::kMaxAnswerBytes)
                nFailing = i + 1;
            bPlayable = bPlayable || !reference.Field(i, 0).empty();
        }
        const bool bFails = nFailing != 0 || !bPlayable;
        const int32_t nBefore = set.GetCount();
        const std::string strFirst = set.GetAt(0) ? set.GetAt(0)->GetAnswer() : std::string();
        try {
            set.LoadText(std::string(strBytes), nCount);
        } catch (const CQuestionFileError& e) {
            FUZZ_CHECK(bFails && e.GetLine() == nFailing && set.GetCount() == nBefore);
            FUZZ_CHECK(set.GetAt(0) ? set.GetAt(0)->GetAnswer() == strFirst : strFirst.empty());
            return false;
        }
        FUZZ_CHECK(!bFails && set.GetCount() == nRows);
        return true;
    };
    if ((nWays & kFirstFive) && load(5, 5)) {
        for (int32_t i = 0; i < 5; ++i) {
            const CQuestion* pRecord = set.GetAt(i);
            FUZZ_CHECK(pRecord != nullptr);
            FUZZ_CHECK(pRecord->GetAnswer() == reference.Field(i, 0));
            FUZZ_CHECK(pRecord->GetQuestion() == reference.Field(i, 1));
        }
    }
    if ((nWays & kEveryLine) && load(0, reference.Widest() > 0 ? reference.Lines() : 0)) {
        for (int32_t i = 0; i < set.GetCount(); ++i) {
            FUZZ_CHECK(set.GetAt(i)->GetAnswer() == reference.Field(i, 0));
            FUZZ_CHECK(set.GetAt(i)->GetQuestion() == reference.Field(i, 1));
        }
    }
}

} // namespace

// Reading the input is most of the work: libFuzzer has it read one of the
// three ways, chosen by its length, so that every way gets its share of the
// runs and a mutation of one byte more or less switches the way.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    Check(std::string_view(reinterpret_cast<const char*>(pData), nSize), 1u << (nSize % 3));
    return 0;
}

// The replay of the seeds reads every input all three ways.
void ReplayInput(const std::string& strBytes)
{
    Check(strBytes, kTable | kFirstFive | kEveryLine);
}

