#include "quiz/csv_file.h"

#include "platform/code_page.h"
#include "quiz/question_file_error.h"
#include "quiz/split_string.h"
#include "quiz/utf8_detector.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kMaxIndex = std::numeric_limits<int32_t>::max();

constexpr std::string_view kSeparators = ",";

// The store grows by chunks of up to this size; a text of more than a quarter
// of it gets a chunk of its own, so that little is left unused at a chunk's
// end. The first chunk is small and each next one twice as large, so that a
// file of five questions does not take a megabyte.
constexpr size_t kChunkSize = size_t{1} << 20;
constexpr size_t kChunkDoublings = 10;

// Cells gathered from whole lines before they are appended to the columns,
// each column under one locking.
constexpr size_t kCellsPerBatch = 4096;

// Bytes that the length of a text takes in front of it.
size_t LengthSize(size_t nLength)
{
    size_t nBytes = 1;
    for (; nLength >= 0x80; nLength >>= 7)
        ++nBytes;
    return nBytes;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool StartsWithByteOrderMark(std::string_view strLine)
{
    return strLine.substr(0, kByteOrderMark.size()) == kByteOrderMark;
}

// A byte that no text holds: a control character other than tab and CR.
bool IsControlByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t' && b != '\r') || b == 0x7F;
}

// Why the UTF-8 line cannot be read from nPos on, for the player.
std::string BadUtf8Reason(std::string_view strLine, size_t nPos)
{
    size_t nLength = 1;
    const char32_t c = DecodeUtf8Char(strLine, nPos, nLength);
    char szCode[16];
    if (c == kNoCharacter) {
        std::snprintf(szCode, sizeof szCode, "0x%02X", static_cast<unsigned char>(strLine[nPos]));
        return std::string("UTF-8として読めないバイト ") + szCode + " があります";
    }
    std::snprintf(szCode, sizeof szCode, "U+%04X", static_cast<unsigned>(c));
    return "「" + std::string(strLine.substr(nPos, nLength)) + "」(" + szCode +
           ") はシフトJISで表せない文字です";
}

} // namespace

std::string_view CCsvFile::CCell::GetText() const
{
    if (!m_pStored)
        return std::string_view();
    const unsigned char* p = m_pStored;
    size_t nLength = 0;
    for (unsigned nShift = 0;; nShift += 7) {
        const unsigned char nByte = *p++;
        nLength |= static_cast<size_t>(nByte & 0x7F) << nShift;
        if ((nByte & 0x80) == 0)
            break;
    }
    return std::string_view(reinterpret_cast<const char*>(p), nLength);
}

CCsvFile::CCell CCsvFile::MakeCell(std::string_view strText)
{
    CCell cell;
    if (strText.empty())
        return cell;
    const size_t nLength = strText.size();
    const size_t nNeeded = LengthSize(nLength) + nLength;
    unsigned char* pStored;
    if (nNeeded > kChunkSize / 4) {
        m_chunks.emplace_back(new unsigned char[nNeeded]);
        pStored = m_chunks.back().get();
    } else {
        if (nNeeded > m_nChunkLeft) {
            const size_t nDoublings = std::min(m_chunks.size(), kChunkDoublings);
            const size_t nSize = std::max(kChunkSize >> (kChunkDoublings - nDoublings), nNeeded);
            m_chunks.emplace_back(new unsigned char[nSize]);
            m_pChunkFree = m_chunks.back().get();
            m_nChunkLeft = nSize;
        }
        pStored = m_pChunkFree;
        m_pChunkFree += nNeeded;
        m_nChunkLeft -= nNeeded;
    }
    unsigned char* p = pStored;
    size_t nRest = nLength;
    for (; nRest >= 0x80; nRest >>= 7)
        *p++ = static_cast<unsigned char>(nRest | 0x80);
    *p++ = static_cast<unsigned char>(nRest);
    std::memcpy(p, strText.data(), nLength);
    cell.m_pStored = pStored;
    return cell;
}

CCsvFile::CCsvFile() = default;

CCsvFile::~CCsvFile()
{
    RemoveAll();
}

void CCsvFile::Rewind()
{
    SeekToBegin();
    m_nLine = 0;
}

void CCsvFile::DetectEncoding()
{
    m_bUtf8 = false;
    std::string strLine;
    if (ReadString(strLine)) {
        m_bUtf8 = StartsWithByteOrderMark(strLine);
        CUtf8Detector detector;
        for (bool bMore = !m_bUtf8; bMore && detector.IsPossible(); bMore = ReadString(strLine))
            detector.Feed(strLine);
        m_bUtf8 = m_bUtf8 || detector.IsUtf8();
    }
    Rewind();
}

bool CCsvFile::ReadLine(std::string& strLine)
{
    if (!ReadString(strLine))
        return false;
    m_nLine += m_nLine < kMaxIndex ? 1 : 0;
    if (m_nLine <= m_nCheckedLines && !m_bControlBytes)
        m_bControlBytes = std::any_of(strLine.begin(), strLine.end(), IsControlByte);
    if (!m_bUtf8)
        return true;
    if (m_nLine == 1 && StartsWithByteOrderMark(strLine))
        strLine.erase(0, kByteOrderMark.size());
    const size_t nBad = ConvertUtf8ToCodePage932(strLine);
    if (nBad != std::string::npos)
        throw CQuestionFileError(m_nLine, BadUtf8Reason(strLine, nBad));
    return true;
}

void CCsvFile::ReadFirstLines(int32_t nLines, const std::function<void(int32_t, std::string&)>& fn)
{
    m_bControlBytes = false;
    m_nCheckedLines = nLines;
    DetectEncoding();
    std::string strLine;
    // As ReadAll, no line past the largest count is read.
    for (int32_t nRow = 0; nRow < kMaxIndex && ReadLine(strLine); ++nRow) {
        if (nRow < nLines)
            fn(nRow, strLine);
    }
}

bool CCsvFile::ReadAll()
{
    std::string strLine;
    std::vector<std::string_view> fields;

    m_bControlBytes = false;
    m_nCheckedLines = kMaxIndex;
    DetectEncoding();
    // The first line decides which columns exist before any line is stored.
    ReadLine(strLine);
    SplitString(strLine, kSeparators, fields);
    const int32_t nFirstLineFields =
        static_cast<int32_t>(std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex)));
    Rewind();

    if (m_nColumnCount == 0) {
        m_nRowCount = 0;
        FillNewTable(nFirstLineFields);
        return true;
    }
    int32_t nLines = 0;
    while (ReadLine(strLine)) {
        if (nLines < kMaxIndex)
            ++nLines;
    }
    m_nRowCount = nLines;
    Rewind();
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
    //
    // The cells of some lines are gathered first, row by row, and then
    // appended column by column, one locking per column and batch.
    std::vector<CColumn*> columns;
    std::vector<CCell> batch;
    int32_t nBatchRows = 0;
    const auto appendBatch = [&]() {
        const size_t nColumns = columns.size();
        for (size_t c = 0; c < nColumns; ++c) {
            CColumn::CAppender appender(*columns[c]);
            for (size_t i = c; i < batch.size(); i += nColumns)
                *appender.AddNew() = batch[i];
        }
        // Every column now holds one cell per line read.
        m_nRowCount += nBatchRows;
        batch.clear();
        nBatchRows = 0;
    };

    std::string strLine;
    std::vector<std::string_view> fields;
    // A line past the largest count has no cell, as a column cannot hold it.
    while (m_nRowCount + nBatchRows < kMaxIndex && ReadLine(strLine)) {
        fields.clear();
        SplitString(strLine, kSeparators, fields);
        const size_t nFields = std::min<size_t>(fields.size(), static_cast<size_t>(kMaxIndex));
        if (columns.size() < std::max(nFields, static_cast<size_t>(nFirstLineFields))) {
            appendBatch();
            while (columns.size() < std::max(nFields, static_cast<size_t>(nFirstLineFields)))
                columns.push_back(CreateColumn(static_cast<int32_t>(columns.size()), m_nRowCount));
        }
        for (size_t j = 0; j < nFields; ++j)
            batch.push_back(MakeCell(fields[j]));
        batch.resize(batch.size() + (columns.size() - nFields));
        ++nBatchRows;
        if (batch.size() >= kCellsPerBatch)
            appendBatch();
    }
    appendBatch();
}

void CCsvFile::FillUsedTable(int32_t nFirstLineFields)
{
    std::string strLine;
    std::vector<std::string_view> fields;

    for (int32_t c = 0; c < nFirstLineFields; ++c) {
        const bool bExisted = IsRegistered(c);
        CColumn* pColumn = GetColumn(c);
        // None only when the file was emptied between the two readings.
        if (!pColumn || !bExisted)
            continue; // a new column already holds one empty cell per line
        pColumn->RemoveAll();
        CColumn::CAppender appender(*pColumn);
        for (int32_t r = 0; r < m_nRowCount; ++r)
            appender.AddNew();
    }

    // Once an index is registered, GetColumn gives the column at that
    // position, which stays the same while lines are read (columns are only
    // appended): remember it instead of asking again for every line.
    std::vector<CColumn*> known;
    for (int64_t r = 0; ReadLine(strLine); ++r) {
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
            if (CCell* pCell = pColumn->GetAt(static_cast<int32_t>(r)))
                *pCell = MakeCell(fields[j]);
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
        CColumn::CAppender appender(*column);
        for (int32_t r = 0; r < nCells; ++r)
            appender.AddNew();
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
        pColumn->VisitAt(nRow, [&strCell](const CCell& cell) { strCell = cell.GetText(); });
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
    m_chunks.clear();
    m_pChunkFree = nullptr;
    m_nChunkLeft = 0;
    m_nFirstUnregistered = 0;
    m_nRowCount = 0;
    m_nColumnCount = 0;
}
