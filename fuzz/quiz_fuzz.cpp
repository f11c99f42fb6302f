// Feeds arbitrary bytes as a question file through the cell table and the
// loader, and checks both against a plain reading of the format, after a
// plain reading of UTF-8 for a file that is UTF-8.

#include "platform/code_page.h"
#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"
#include "quiz/question_set.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition)) {                                                    \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            std::abort();                                                      \
        }                                                                      \
    } while (false)

using Line = std::vector<std::string>;

// The format, read the simplest way: LF ends a line, a CR before it goes, a
// final LF starts no line; fields end at commas, a last empty one is none.
std::vector<Line> ReferenceRead(const std::string& strBytes)
{
    std::vector<Line> lines;
    size_t nStart = 0;
    while (nStart < strBytes.size()) {
        size_t nEnd = strBytes.find('\n', nStart);
        std::string strLine;
        if (nEnd == std::string::npos) {
            strLine = strBytes.substr(nStart);
            nEnd = strBytes.size();
        } else {
            strLine = strBytes.substr(nStart, nEnd - nStart);
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
        }
        Line fields;
        std::string strField;
        for (char c : strLine) {
            if (c == ',') {
                fields.push_back(strField);
                strField.clear();
            } else {
                strField += c;
            }
        }
        if (!strField.empty())
            fields.push_back(strField);
        lines.push_back(fields);
        nStart = nEnd + 1;
    }
    return lines;
}

// UTF-8 read the simplest way: the code points, or false for bytes that are
// not UTF-8 (overlong forms, surrogates, past U+10FFFF, cut short).
bool ReferenceUtf8(const std::string& strBytes, std::u32string& out)
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
        out.push_back(c);
        i += n;
    }
    return true;
}

// The bytes the loader should see: the file's own, or for a UTF-8 file its
// lines converted; nBadLine is then the first line that cannot be (0: none).
std::string ExpectedBytes(const std::string& strBytes, bool& bUtf8, int32_t& nBadLine)
{
    nBadLine = 0;
    const bool bMark = strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::u32string text;
    bUtf8 = bMark;
    if (!bMark && ReferenceUtf8(strBytes, text)) {
        bool bWide = false;
        bool bControl = false;
        for (char32_t c : text) {
            bWide = bWide || c >= 0x800;
            bControl = bControl || (c >= 0x80 && c <= 0x9F);
        }
        bUtf8 = bWide && !bControl;
    }
    if (!bUtf8)
        return strBytes;
    // The mark belongs to the first line: the mark alone is one empty line.
    if (strBytes.size() == 3 && bMark)
        return "\n";
    std::string strOut;
    size_t nStart = bMark ? 3 : 0;
    for (int32_t nLine = 1; nStart <= strBytes.size(); ++nLine) {
        const size_t nEnd = std::min(strBytes.find('\n', nStart), strBytes.size());
        const std::string strLine = strBytes.substr(nStart, nEnd - nStart);
        std::string strConverted;
        std::u32string line;
        if (AppendUtf8AsCodePage932(strLine, strConverted) != std::string_view::npos) {
            nBadLine = nLine;
            return std::string();
        }
        // Converted faithfully: the same characters come back, but for the
        // other tables' forms that the code page takes as its own.
        FUZZ_CHECK(ReferenceUtf8(strLine, line));
        const std::u16string back = DecodeCodePage932(strConverted);
        FUZZ_CHECK(back.size() == line.size());
        const std::u32string from = U"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014\u00A5\u203E\u00C5";
        const std::u16string to = u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015\\~\u212B";
        for (size_t i = 0; i < line.size(); ++i) {
            const size_t nOther = from.find(line[i]);
            FUZZ_CHECK(back[i] == (nOther == std::u32string::npos ? line[i] : to[nOther]));
        }
        strOut += strConverted;
        if (nEnd < strBytes.size())
            strOut += '\n';
        nStart = nEnd + 1;
    }
    return strOut;
}

std::string FieldOf(const std::vector<Line>& lines, size_t nLine, size_t nField)
{
    if (nLine >= lines.size() || nField >= lines[nLine].size())
        return std::string();
    return lines[nLine][nField];
}

// One file per process, rewritten for every input and removed at exit.
class ScratchFile
{
public:
    ScratchFile()
        : m_strPath((std::filesystem::temp_directory_path() /
                     ("wrigglet_fuzz_" + std::to_string(std::random_device{}()) + ".csv"))
                        .string())
    {
    }
    ~ScratchFile()
    {
        std::error_code error;
        std::filesystem::remove(m_strPath, error);
    }
    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strPath;
};

const std::string& ScratchPath()
{
    static const ScratchFile s_file;
    return s_file.GetPath();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strBytes(reinterpret_cast<const char*>(pData), nSize);
    const std::string& strPath = ScratchPath();
    {
        std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
        out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
        FUZZ_CHECK(out.good());
    }
    bool bUtf8 = false;
    int32_t nBadLine = 0;
    const std::string strExpected = ExpectedBytes(strBytes, bUtf8, nBadLine);
    if (nBadLine > 0) {
        // Nothing is loaded; the questions before stay.
        CQuestionSet set;
        set.Add("Q", "A");
        try {
            set.Load(strPath, 5);
            FUZZ_CHECK(false);
        } catch (const CQuestionFileError& e) {
            FUZZ_CHECK(e.GetLine() == nBadLine);
        }
        FUZZ_CHECK(set.GetCount() == 1 && set.GetAt(0)->GetAnswer() == "A");
        return 0;
    }
    const std::vector<Line> lines = ReferenceRead(strExpected);
    size_t nWidest = 0;
    for (const Line& line : lines)
        nWidest = std::max(nWidest, line.size());
    const int32_t nLines = static_cast<int32_t>(lines.size());

    {
        CCsvFile file;
        FUZZ_CHECK(file.Open(strPath));
        FUZZ_CHECK(file.ReadAll());
        FUZZ_CHECK(file.IsUtf8() == bUtf8);
        FUZZ_CHECK(file.GetColumnCount() == (nLines > 0 ? static_cast<int32_t>(nWidest) : 0));
        FUZZ_CHECK(file.GetMaxRowCount() == (nWidest > 0 ? nLines : 0));
        const int32_t nColumns = file.GetColumnCount();
        for (int32_t c = 0; c < nColumns && c < 4; ++c) {
            for (int32_t r = 0; r < nLines; ++r)
                FUZZ_CHECK(file.GetCell(c, r) == FieldOf(lines, static_cast<size_t>(r), static_cast<size_t>(c)));
            FUZZ_CHECK(file.GetCell(c, nLines).empty());
            FUZZ_CHECK(file.GetCell(c, -1).empty());
        }
        // Asking beyond the columns adds one of empty cells when there are rows.
        FUZZ_CHECK(file.GetCell(nColumns + 3, 0).empty());
        FUZZ_CHECK(file.GetColumnCount() == nColumns + (nLines > 0 ? 1 : 0));
        FUZZ_CHECK(file.GetMaxRowCount() == (nLines > 0 ? nLines : 0));
    }

    // Loads the first nRows lines; an answer over the bound among them loads
    // nothing and names the first such line.
    CQuestionSet set;
    const auto load = [&](int32_t nCount, int32_t nRows) {
        int32_t nTooLong = 0;
        for (int32_t i = nRows - 1; i >= 0; --i) {
            if (FieldOf(lines, static_cast<size_t>(i), 0).size() > CQuestionSet::kMaxAnswerBytes)
                nTooLong = i + 1;
        }
        const int32_t nBefore = set.GetCount();
        try {
            set.Load(strPath, nCount);
        } catch (const CQuestionFileError& e) {
            FUZZ_CHECK(e.GetLine() == nTooLong && set.GetCount() == nBefore);
            return false;
        }
        FUZZ_CHECK(nTooLong == 0 && set.GetCount() == nRows);
        return true;
    };
    if (load(5, 5)) {
        for (int32_t i = 0; i < 5; ++i) {
            const CQuestion* pRecord = set.GetAt(i);
            FUZZ_CHECK(pRecord != nullptr);
            FUZZ_CHECK(pRecord->GetAnswer() == FieldOf(lines, static_cast<size_t>(i), 0));
            FUZZ_CHECK(pRecord->GetQuestion() == FieldOf(lines, static_cast<size_t>(i), 1));
        }
    }
    if (load(0, nWidest > 0 ? nLines : 0)) {
        for (int32_t i = 0; i < set.GetCount(); ++i)
            FUZZ_CHECK(set.GetAt(i)->GetAnswer() == FieldOf(lines, static_cast<size_t>(i), 0));
    }
    return 0;
}
