#pragma once

#include "field/locked_list.h"
#include "quiz/question.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CCsvFile;
class CFileChooser;

// The questions of the current quiz, in file order. The window thread loads
// it; the game loop reads it, and only while no load runs.
class CQuestionSet
{
public:
    // The longest answer a question file may hold, in bytes.
    static constexpr size_t kMaxAnswerBytes = 1000;

    CQuestionSet() = default;
    virtual ~CQuestionSet();

    // Appends a record; the record is complete before the list publishes it.
    void Add(std::string strQuestion, std::string strAnswer);
    CQuestion* GetAt(int32_t nIndex) const { return m_records.GetAt(nIndex); }
    int32_t GetCount() const { return m_records.GetCount(); }
    // The records with an answer: those a quiz plays. The others have no
    // tiles to eat.
    int32_t GetPlayableCount() const;
    void RemoveAll() { m_records.RemoveAll(); }

    // The open-file dialog that Load shows; not owned. Without one, Load
    // given no existing file does nothing, as if the dialog was cancelled.
    void SetFileChooser(CFileChooser* pChooser) { m_pChooser = pChooser; }

    // Rebuilds the set from a question file: the first nCount lines, or every
    // line when nCount is 0 or less. When strPath names no existing file the
    // player is asked for one. A cancelled dialog leaves the set as it was,
    // and so does every failure, which is thrown: CFileException for a file
    // that cannot be opened (gone, no permission, no regular file) or read,
    // CQuestionFileError for an answer longer than kMaxAnswerBytes or for no
    // answer at all among the records.
    void Load(std::string strPath, int32_t nCount);
    // The same for a file already chosen: never asks, and a name that is not
    // there is a failure like any other.
    void LoadFile(const std::string& strPath, int32_t nCount);
    // The same from the bytes of a question file already in memory, as the
    // fuzzer feeds them: no dialog, and of the failures only
    // CQuestionFileError.
    void LoadText(std::string strText, int32_t nCount);

private:
    void LoadFrom(CCsvFile& file, int32_t nCount);

    CLockedList<CQuestion> m_records;
    CFileChooser* m_pChooser = nullptr;
};
