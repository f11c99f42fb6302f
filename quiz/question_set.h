#pragma once

#include "field/locked_list.h"
#include "quiz/question.h"

#include <cstdint>
#include <string>

// The questions of the current quiz, in file order. The window thread loads
// it; the game loop reads it, and only while no load runs.
class CQuestionSet
{
public:
    CQuestionSet() = default;
    virtual ~CQuestionSet();

    // Appends a record; the record is complete before the list publishes it.
    void Add(std::string strQuestion, std::string strAnswer);
    CQuestion* GetAt(int32_t nIndex) const { return m_records.GetAt(nIndex); }
    int32_t GetCount() const { return m_records.GetCount(); }
    void RemoveAll() { m_records.RemoveAll(); }

private:
    CLockedList<CQuestion> m_records;
};
