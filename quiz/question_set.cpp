#include "quiz/question_set.h"

#include "quiz/file_chooser.h"
#include "platform/file_path.h"
#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"

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

void CQuestionSet::LoadFile(const std::string& strPath, int32_t nCount)
{
    CCsvFile file;
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
    file.ReadAll();

    // The new records are made apart from the set and take its place in one
    // step, so that neither a failure nor a reader sees it half rebuilt.
    const int32_t nRows = nCount > 0 ? nCount : file.GetMaxRowCount();
    CLockedList<CQuestion> records;
    try {
        std::vector<CQuestion*> made;
        made.reserve(static_cast<size_t>(nRows));
        {
            CLockedList<CQuestion>::CAppender appender(records);
            for (int32_t i = 0; i < nRows; ++i)
                made.push_back(appender.AddNew());
        }
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
        // A tile per byte: a longer answer fills the field past playing and
        // keeps the game loop placing tiles for as long as it takes.
        bool bPlayable = false;
        for (size_t i = 0; i < made.size(); ++i) {
            const size_t nLength = made[i]->GetAnswer().size();
            if (nLength > kMaxAnswerBytes)
                throw CQuestionFileError(static_cast<int32_t>(i + 1),
                                         "答えが長すぎます（" + std::to_string(nLength) + " バイト。" +
                                             std::to_string(kMaxAnswerBytes) + " バイトまでです）");
            bPlayable = bPlayable || nLength > 0;
        }
        // A set with nothing to play would only replace the quiz the player had.
        if (!bPlayable)
            throw CQuestionFileError(0, "答えのある問題がありません（各行に「答え,問題」と書きます）");
    } catch (...) {
        records.RemoveAll();
        throw;
    }
    file.Close();
    m_records.ReplaceAll(records);
}
