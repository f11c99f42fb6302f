#include "quiz/csv_file.h"

#include "quiz/split_string.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kMaxIndex = std::numeric_limits<int32_t>::max();

const std::string kSeparators = ",";

} // namespace

CCsvFile::CCsvFile() = default;

CCsvFile::~CCsvFile()
{
    RemoveAll();
}

bool CCsvFile::ReadAll()
{
    std::string strLine;
    std::vector<std::string> fields;

    // The first line decides which columns exist before any line is stored.
    ReadString(strLine);
    SplitString(strLine, kSeparators, fields);
    const int32_t nFirstLineFields =
        static_cast<int32_t>(std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex)));

    SeekToBegin();
    int32_t nLines = 0;
    while (ReadString(strLine)) {
        if (nLines < kMaxIndex)
            ++nLines;
    }
    m_nRowCount = nLines;
    SeekToBegin();

    for (int32_t c = 0; c < nFirstLineFields; ++c) {
        const bool bExisted = m_columnIndices.count(c) != 0;
        CColumn* pColumn = GetColumn(c);
        // None only when the file was emptied between the two readings.
        if (!pColumn || !bExisted)
            continue; // a new column already holds one empty cell per line
        pColumn->RemoveAll();
        for (int32_t r = 0; r < m_nRowCount; ++r)
            pColumn->AddNew();
    }

    for (int64_t r = 0; ReadString(strLine); ++r) {
        fields.clear();
        SplitString(strLine, kSeparators, fields);
        const size_t nFields = std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex));
        for (size_t j = 0; j < nFields; ++j) {
            CColumn* pColumn = GetColumn(static_cast<int32_t>(j));
            // Lines beyond the counted ones (the file grew meanwhile) have no cell.
            if (!pColumn || r >= m_nRowCount)
                continue;
            if (std::string* pCell = pColumn->GetAt(static_cast<int32_t>(r)))
                *pCell = std::move(fields[j]);
        }
    }
    return true;
}

CCsvFile::CColumn* CCsvFile::GetColumn(int32_t nIndex)
{
    if (m_columnIndices.count(nIndex) != 0)
        return m_columns.GetAt(nIndex);
    if (m_nRowCount == 0)
        return nullptr;

    auto column = std::make_unique<CColumn>();
    try {
        for (int32_t r = 0; r < m_nRowCount; ++r)
            column->AddNew();
    } catch (...) {
        column->RemoveAll();
        throw;
    }
    CColumn* pColumn = column.get();
    m_columns.Append(column.release());
    m_columnIndices.insert(nIndex);
    ++m_nColumnCount;
    return pColumn;
}

std::string CCsvFile::GetCell(int32_t nColumn, int32_t nRow)
{
    std::string strCell;
    if (CColumn* pColumn = GetColumn(nColumn))
        pColumn->VisitAt(nRow, [&strCell](const std::string& strText) { strCell = strText; });
    return strCell;
}

int32_t CCsvFile::GetRowCount(int32_t nColumn)
{
    CColumn* pColumn = GetColumn(nColumn);
    return pColumn ? pColumn->GetCount() : 0;
}

int32_t CCsvFile::GetMaxRowCount()
{
    // GetRowCount may create a column for an index that is not registered,
    // which raises the column count; the bound is taken once so that this
    // cannot go on for ever.
    const int32_t nColumns = m_nColumnCount;
    int32_t nMax = 0;
    for (int32_t i = 0; i < nColumns; ++i)
        nMax = std::max(nMax, GetRowCount(i));
    return nMax;
}

void CCsvFile::RemoveAll()
{
    // By position, not by index: asking by index could create new columns
    // and miss one registered under another index, losing its cells.
    const int32_t nColumns = m_columns.GetCount();
    for (int32_t i = 0; i < nColumns; ++i) {
        if (CColumn* pColumn = m_columns.GetAt(i))
            pColumn->RemoveAll();
    }
    m_columns.RemoveAll();
    m_columnIndices.clear();
    m_nRowCount = 0;
    m_nColumnCount = 0;
}
