#include "quiz/csv_file.h"

#include "quiz/split_string.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kMaxIndex = std::numeric_limits<int32_t>::max();

constexpr std::string_view kSeparators = ",";

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

    if (m_nColumnCount == 0) {
        m_nRowCount = 0;
        FillNewTable(nFirstLineFields);
        return true;
    }
    int32_t nLines = 0;
    while (ReadString(strLine)) {
        if (nLines < kMaxIndex)
            ++nLines;
    }
    m_nRowCount = nLines;
    SeekToBegin();
    FillUsedTable(nFirstLineFields);
    return true;
}

void CCsvFile::FillNewTable(int32_t nFirstLineFields)
{
    // The same table as counting the lines first and then filling columns of
    // empty cells by row index, in one reading: each cell is appended once,
    // in order, with its text. A column that appears on a later line starts
    // with an empty cell for every line before. Columns are created for the
    // next free index only, so index and position agree.
    std::vector<CColumn*> columns;
    std::string strLine;
    std::vector<std::string> fields;
    // A line past the largest count has no cell, as a column cannot hold it.
    while (m_nRowCount < kMaxIndex && ReadString(strLine)) {
        fields.clear();
        SplitString(strLine, kSeparators, fields);
        const size_t nFields = std::max(std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex)),
                                        static_cast<size_t>(nFirstLineFields));
        while (columns.size() < nFields)
            columns.push_back(CreateColumn(static_cast<int32_t>(columns.size()), m_nRowCount));
        for (size_t j = 0; j < columns.size(); ++j) {
            std::string* pCell = columns[j]->AddNew();
            if (j < fields.size())
                *pCell = std::move(fields[j]);
        }
        ++m_nRowCount;
    }
}

void CCsvFile::FillUsedTable(int32_t nFirstLineFields)
{
    std::string strLine;
    std::vector<std::string> fields;

    for (int32_t c = 0; c < nFirstLineFields; ++c) {
        const bool bExisted = IsRegistered(c);
        CColumn* pColumn = GetColumn(c);
        // None only when the file was emptied between the two readings.
        if (!pColumn || !bExisted)
            continue; // a new column already holds one empty cell per line
        pColumn->RemoveAll();
        for (int32_t r = 0; r < m_nRowCount; ++r)
            pColumn->AddNew();
    }

    // Once an index is registered, GetColumn gives the column at that
    // position, which stays the same while lines are read (columns are only
    // appended): remember it instead of asking again for every line.
    std::vector<CColumn*> known;
    for (int64_t r = 0; ReadString(strLine); ++r) {
        fields.clear();
        SplitString(strLine, kSeparators, fields);
        const size_t nFields = std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex));
        if (known.size() < nFields)
            known.resize(nFields, nullptr);
        for (size_t j = 0; j < nFields; ++j) {
            const int32_t nIndex = static_cast<int32_t>(j);
            CColumn* pColumn = known[j];
            if (!pColumn) {
                const bool bRegistered = IsRegistered(nIndex);
                pColumn = GetColumn(nIndex);
                if (bRegistered)
                    known[j] = pColumn;
            }
            if (!pColumn || r >= m_nRowCount)
                continue;
            if (std::string* pCell = pColumn->GetAt(static_cast<int32_t>(r)))
                *pCell = std::move(fields[j]);
        }
    }
}

bool CCsvFile::IsRegistered(int32_t nIndex) const
{
    return (nIndex >= 0 && nIndex < m_nFirstUnregistered) || m_columnIndices.count(nIndex) != 0;
}

CCsvFile::CColumn* CCsvFile::GetColumn(int32_t nIndex)
{
    if (IsRegistered(nIndex))
        return m_columns.GetAt(nIndex);
    if (m_nRowCount == 0)
        return nullptr;
    return CreateColumn(nIndex, m_nRowCount);
}

CCsvFile::CColumn* CCsvFile::CreateColumn(int32_t nIndex, int32_t nCells)
{
    auto column = std::make_unique<CColumn>();
    try {
        for (int32_t r = 0; r < nCells; ++r)
            column->AddNew();
    } catch (...) {
        column->RemoveAll();
        throw;
    }
    CColumn* pColumn = column.get();
    m_columns.Append(column.release());
    m_columnIndices.insert(nIndex);
    while (m_nFirstUnregistered < kMaxIndex && m_columnIndices.count(m_nFirstUnregistered) != 0)
        ++m_nFirstUnregistered;
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
    m_nFirstUnregistered = 0;
    m_nRowCount = 0;
    m_nColumnCount = 0;
}
