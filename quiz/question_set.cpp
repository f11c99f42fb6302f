#include "quiz/question_set.h"

#include "quiz/file_chooser.h"
#include "platform/file_path.h"
#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

CQuestionSet::~CQuestionSet()
{
    RemoveAll();
}

void CQuestionSet::Add(std::string strQuestion, std::string strAnswer)
{
    auto pRecord = std::make_unique<CQuestion>();
    pRecord->SetQuestion(std::move(strQuestion));
    pRecord->SetAnswer(std::move(strAnswer));
    m_records.Append(pRecord.release());
}

int32_t CQuestionSet::GetPlayableCount() const
{
    int32_t nPlayable = 0;
    for (int32_t i = 0; i < m_records.GetCount(); ++i)
        m_records.VisitAt(i, [&nPlayable](const CQuestion& q) { nPlayable += q.GetAnswer().empty() ? 0 : 1; });
    return nPlayable;
}

void CQuestionSet::Load(std::string strPath, int32_t nCount)
{
    if (!FileExists(strPath)) {
        if (!m_pChooser || !m_pChooser->DoModal())
            return;
        strPath = m_pChooser->GetPathName();
    }
    LoadFile(strPath, nCount);
}

void CQuestionSet::LoadFile(const std::string& strPath, int32_t nCount, const std::atomic<bool>* pCancel)
{
    CCsvFile file;
    file.SetCancelFlag(pCancel);
    if (!file.Open(strPath))
        throw file.OpenError();
    LoadFrom(file, nCount);
}

void CQuestionSet::LoadText(std::string strText, int32_t nCount)
{
    CCsvFile file;
    file.OpenText(std::move(strText));
    LoadFrom(file, nCount);
}

void CQuestionSet::LoadFrom(CCsvFile& file, int32_t nCount)
{
    // The new records are made apart from the set and take its place in one
    // step, so that neither a failure nor a reader sees it half rebuilt.
    CLockedList<CQuestion> records;
    try {
        const std::vector<size_t> answerLengths =
            nCount > 0 ? ReadFirstRecords(file, nCount, records) : ReadAllRecords(file, records);
        // A tile per byte: a longer answer fills the field past playing and
        // keeps the game loop placing tiles for as long as it takes.
        bool bPlayable = false;
        for (size_t i = 0; i < answerLengths.size(); ++i) {
            const size_t nLength = answerLengths[i];
            if (nLength > kMaxAnswerBytes)
                throw CQuestionFileError(static_cast<int32_t>(i + 1),
                                         "答えが長すぎます（" + std::to_string(nLength) + " バイト。" +
                                             std::to_string(kMaxAnswerBytes) + " バイトまでです）");
            bPlayable = bPlayable || nLength > 0;
        }
        // A set with nothing to play would only replace the quiz the player had.
        if (!bPlayable)
            throw CQuestionFileError(0, "答えのある問題がありません（各行に「答え,問題」と書きます）");
    } catch (CQuestionFileError& e) {
        records.RemoveAll();
        e.SetControlBytes(file.HasControlBytes());
        throw;
    } catch (...) {
        records.RemoveAll();
        throw;
    }
    file.Close();
    m_records.ReplaceAll(records);
}

namespace {

// nRows empty records appended to the list, in order.
std::vector<CQuestion*> AddRecords(CLockedList<CQuestion>& records, int32_t nRows)
{
    std::vector<CQuestion*> made;
    made.reserve(static_cast<size_t>(nRows));
    CLockedList<CQuestion>::CAppender appender(records);
    for (int32_t i = 0; i < nRows; ++i)
        made.push_back(appender.AddNew());
    return made;
}

} // namespace

std::vector<size_t> CQuestionSet::ReadFirstRecords(CCsvFile& file, int32_t nCount, CLockedList<CQuestion>& records)
{
    // The cells the table would give for the first lines: the fields up to
    // the first and the second comma. Of an answer too long to play only its
    // length is kept.
    const std::vector<CQuestion*> made = AddRecords(records, nCount);
    std::vector<size_t> answerLengths(made.size(), 0);
    file.ReadFirstLines(nCount, [&](int32_t nRow, std::string& strLine) {
        CQuestion& record = *made[static_cast<size_t>(nRow)];
        const size_t nComma = strLine.find(',');
        const size_t nAnswer = std::min(nComma, strLine.size());
        answerLengths[static_cast<size_t>(nRow)] = nAnswer;
        if (nAnswer <= kMaxAnswerBytes)
            record.SetAnswer(strLine.substr(0, nAnswer));
        if (nComma == std::string::npos)
            return;
        const size_t nEnd = std::min(strLine.find(',', nComma + 1), strLine.size());
        const size_t nQuestion = nEnd - nComma - 1;
        if (nQuestion < strLine.capacity() / 2) {
            record.SetQuestion(strLine.substr(nComma + 1, nQuestion));
            return;
        }
        // A question that fills most of the line takes the line's own
        // bytes: a huge one is never copied.
        strLine.erase(nEnd);
        strLine.erase(0, nComma + 1);
        record.SetQuestion(std::move(strLine));
    });
    return answerLengths;
}

std::vector<size_t> CQuestionSet::ReadAllRecords(CCsvFile& file, CLockedList<CQuestion>& records)
{
    file.ReadAll();
    const int32_t nRows = file.GetMaxRowCount();
    const std::vector<CQuestion*> made = AddRecords(records, nRows);
    // The first row asks for both columns as the loader always has, which
    // may create them; the others are then read column by column.
    if (nRows > 0) {
        made[0]->SetQuestion(file.GetCell(1, 0));
        made[0]->SetAnswer(file.GetCell(0, 0));
    }
    file.VisitCells(1, 1, nRows - 1, [&made](int32_t nRow, std::string_view strText) {
        made[static_cast<size_t>(nRow)]->SetQuestion(std::string(strText));
    });
    file.VisitCells(0, 1, nRows - 1, [&made](int32_t nRow, std::string_view strText) {
        made[static_cast<size_t>(nRow)]->SetAnswer(std::string(strText));
    });
    std::vector<size_t> answerLengths;
    answerLengths.reserve(made.size());
    for (const CQuestion* pRecord : made)
        answerLengths.push_back(pRecord->GetAnswer().size());
    return answerLengths;
}
