#pragma once

#include "field/field_object.h"

#include <string>

// One line of a question file: the answer to collect and the question shown.
// Texts are code page 932 bytes exactly as they stand in the file.
class CQuestion : public CFieldObject
{
public:
    CQuestion() = default;
    ~CQuestion() override;

    std::string GetQuestion() const { return m_strQuestion; }
    std::string GetAnswer() const { return m_strAnswer; }
    void SetQuestion(std::string strQuestion);
    void SetAnswer(std::string strAnswer);

private:
    std::string m_strQuestion;
    std::string m_strAnswer;
};
