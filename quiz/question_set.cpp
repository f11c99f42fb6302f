#include "quiz/question_set.h"

#include "platform/file_chooser.h"
#include "platform/file_path.h"
#include "quiz/csv_file.h"

#include <memory>
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

void CQuestionSet::Load(std::string strPath, int32_t nCount)
{
    if (!FileExists(strPath)) {
        if (!m_pChooser || !m_pChooser->DoModal())
            return;
        strPath = m_pChooser->GetPathName();
    }

    CCsvFile file;
    if (!file.Open(strPath))
        return;
    file.ReadAll();

    // Take every text before touching the set, so that nothing can leave it
    // half rebuilt.
    const int32_t nRows = nCount > 0 ? nCount : file.GetMaxRowCount();
    std::vector<std::pair<std::string, std::string>> records;
    for (int32_t i = 0; i < nRows; ++i) {
        std::string strQuestion = file.GetCell(1, i);
        std::string strAnswer = file.GetCell(0, i);
        records.emplace_back(std::move(strQuestion), std::move(strAnswer));
    }
    file.Close();

    RemoveAll();
    for (auto& record : records)
        Add(std::move(record.first), std::move(record.second));
}
