#include "quiz/quiz_result.h"

#include <algorithm>
#include <utility>

void CQuizResult::Add(std::string strAnswer, std::string strCollected, bool bCorrect)
{
    m_entries.push_back(CEntry{std::move(strAnswer), std::move(strCollected), bCorrect});
}

int32_t CQuizResult::GetCorrectCount() const
{
    return static_cast<int32_t>(std::count_if(m_entries.begin(), m_entries.end(),
                                              [](const CEntry& e) { return e.bCorrect; }));
}
