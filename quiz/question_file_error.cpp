#include "quiz/question_file_error.h"

CQuestionFileError::CQuestionFileError(int32_t nLine, const std::string& strReason)
    : std::runtime_error(nLine > 0 ? std::to_string(nLine) + "\xe8\xa1\x8c\xe7\x9b\xae: " + strReason // 行目
                                   : strReason),
      m_nLine(nLine)
{
}
