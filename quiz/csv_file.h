#pragma once

#include "field/locked_list.h"
#include "platform/text_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A comma-separated text file read into a table of text cells, stored column
// by column: cell (c, r) is field c of line r. Every line counts, an empty
// one included; a field that a line lacks is an empty cell.
//
// Columns are created on demand, each with one empty cell per counted line.
// A column is registered under the index it was asked for but found again by
// its position; the two agree as long as columns are asked for in order.
class CCsvFile : public CTextFile
{
public:
    // One cell: its text lies in the table's own store, so a cell is one
    // pointer and owns no memory. A new cell is empty.
    class CCell
    {
    public:
        std::string_view GetText() const;

    private:
        friend class CCsvFile;
        // The text's length, seven bits a byte, low bits first, then its
        // bytes; none for an empty text.
        const unsigned char* m_pStored = nullptr;
    };
    using CColumn = CLockedList<CCell>;

    CCsvFile();
    ~CCsvFile() override;

    // Reads the whole open file into the table, in code page 932: a file that
    // starts with the UTF-8 byte-order mark, or that CUtf8Detector finds to
    // be UTF-8, is converted line by line. Throws CFileException when reading
    // fails, CQuestionFileError for a UTF-8 line that has bytes that are no
    // UTF-8 or a character the code page lacks; the table is then partly
    // filled.
    bool ReadAll();
    // Reads the open file as ReadAll does, with the same failures in the same
    // order, but stores nothing: the first nLines lines go to fn(nRow, line)
    // in code page 932, where fn may take the line's bytes, and the rest are
    // only read and converted. Memory follows the longest line, not the file.
    void ReadFirstLines(int32_t nLines, const std::function<void(int32_t, std::string&)>& fn);
    bool IsUtf8() const { return m_bUtf8; }
    // Whether a line kept by the last reading (every line for ReadAll), up to
    // a line that failed, held a control byte other than tab, CR and LF, as
    // binary files do.
    bool HasControlBytes() const { return m_bControlBytes; }

    // The column for the index, created with empty cells when it is not
    // registered yet; nullptr when it does not exist and the table has no rows.
    CColumn* GetColumn(int32_t nIndex);
    // A copy of the cell's text; empty when there is no such cell.
    std::string GetCell(int32_t nColumn, int32_t nRow);
    // Calls fn(nRow, text) for the rows nFirstRow (not negative) to
    // nFirstRow + nRows - 1 of the column, with the texts that GetCell would
    // give one row after the other, but taking the column's lock once for
    // all rows after the first.
    template <class F>
    void VisitCells(int32_t nColumn, int32_t nFirstRow, int32_t nRows, F&& fn);
    // The cell count of the column; 0 when there is no such column.
    int32_t GetRowCount(int32_t nColumn);
    int32_t GetColumnCount() const { return m_nColumnCount; }
    int32_t GetMaxRowCount();
    void RemoveAll();

private:
    // Decides m_bUtf8, reading the file through as far as needed, and goes
    // back to the first line.
    void DetectEncoding();
    // The next line in code page 932.
    bool ReadLine(std::string& strLine);
    void Rewind();
    void FillNewTable(int32_t nFirstLineFields);
    void FillUsedTable(int32_t nFirstLineFields);
    bool IsRegistered(int32_t nIndex) const;
    // Appends a column of nCells empty cells registered under nIndex.
    CColumn* CreateColumn(int32_t nIndex, int32_t nCells);
    // A cell holding a copy of the text.
    CCell MakeCell(std::string_view strText);

    CLockedList<CColumn> m_columns;
    // The indices the columns were created for. Only membership is asked,
    // once per field read, so a set keeps wide lines from costing columns
    // times fields; indices 0 to m_nFirstUnregistered - 1 need no look-up.
    std::unordered_set<int32_t> m_columnIndices;
    int32_t m_nFirstUnregistered = 0;
    int32_t m_nRowCount = 0;
    int32_t m_nColumnCount = 0;
    bool m_bUtf8 = false;
    // Lines read since the first, for the player's message.
    int32_t m_nLine = 0;
    // The lines looked at for control bytes, and whether one was found.
    int32_t m_nCheckedLines = 0;
    bool m_bControlBytes = false;

    // The cells' texts, packed in large chunks that never move, so that a
    // file costs a few allocations instead of one per cell. Freed by
    // RemoveAll, after every cell has gone.
    std::vector<std::unique_ptr<unsigned char[]>> m_chunks;
    unsigned char* m_pChunkFree = nullptr;
    size_t m_nChunkLeft = 0;
};

template <class F>
void CCsvFile::VisitCells(int32_t nColumn, int32_t nFirstRow, int32_t nRows, F&& fn)
{
    if (nRows <= 0)
        return;
    // The first row exactly as GetCell: the column may be created here ...
    fn(nFirstRow, std::string_view(GetCell(nColumn, nFirstRow)));
    if (nRows == 1)
        return;
    // ... and is then registered, so that asking again gives the column of
    // every later row: nothing creates another one meanwhile.
    CColumn* pColumn = GetColumn(nColumn);
    const int64_t nEnd = std::min<int64_t>(int64_t{nFirstRow} + nRows, int64_t{INT32_MAX} + 1);
    int64_t nRow = int64_t{nFirstRow} + 1;
    if (pColumn && nRow < nEnd) {
        pColumn->VisitRange(static_cast<int32_t>(nRow), static_cast<int32_t>(nEnd - nRow),
                            [&](const CCell& cell) { fn(static_cast<int32_t>(nRow++), cell.GetText()); });
    }
    for (; nRow < nEnd; ++nRow)
        fn(static_cast<int32_t>(nRow), std::string_view());
}
