#include "quiz/question.h"

#include <utility>

CQuestion::~CQuestion() = default;

void CQuestion::SetQuestion(std::string strQuestion)
{
    m_strQuestion = std::move(strQuestion);
}

void CQuestion::SetAnswer(std::string strAnswer)
{
    m_strAnswer = std::move(strAnswer);
}
