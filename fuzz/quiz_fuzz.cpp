// Feeds arbitrary bytes as a question file through the cell table and the
// loader, and checks both against a plain reading of the format.

#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"
#include "quiz/question_set.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
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
    const std::vector<Line> lines = ReferenceRead(strBytes);
    size_t nWidest = 0;
    for (const Line& line : lines)
        nWidest = std::max(nWidest, line.size());
    const int32_t nLines = static_cast<int32_t>(lines.size());

    {
        CCsvFile file;
        FUZZ_CHECK(file.Open(strPath));
        FUZZ_CHECK(file.ReadAll());
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
