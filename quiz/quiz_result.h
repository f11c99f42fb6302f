#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How a quiz that was played to its end went: for each question in order,
// the answer, what the snake collected and whether the two matched. Texts
// are code page 932 bytes.
class CQuizResult
{
public:
    struct CEntry
    {
        std::string strAnswer;
        std::string strCollected;
        bool bCorrect = false;
    };

    void Add(std::string strAnswer, std::string strCollected, bool bCorrect);
    const std::vector<CEntry>& GetEntries() const { return m_entries; }
    int32_t GetCount() const { return static_cast<int32_t>(m_entries.size()); }
    int32_t GetCorrectCount() const;
    bool IsEmpty() const { return m_entries.empty(); }

private:
    std::vector<CEntry> m_entries;
};
