#include "quiz/question_set.h"

#include <memory>
#include <utility>

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
