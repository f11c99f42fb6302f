#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A question file that must not be loaded as it stands, though it could be
// read: an answer too long to place, a character the game's code page cannot
// hold. what() is UTF-8 text for the player and names the line.
class CQuestionFileError : public std::runtime_error
{
public:
    // nLine counts from 1, or is 0 for the file as a whole; strReason is
    // UTF-8.
    CQuestionFileError(int32_t nLine, const std::string& strReason);

    int32_t GetLine() const { return m_nLine; }

private:
    int32_t m_nLine;
};
