#pragma once

#include "quiz/file_chooser.h"

#include <windows.h>

#include <string>

// The system's open-file dialog, opening in the current directory with
// question files offered first, modal to the game window.
class CWinFileChooser : public CFileChooser
{
public:
    CWinFileChooser() = default;

    void SetOwner(HWND hOwner) { m_hOwner = hOwner; }

    bool DoModal() override;
    // UTF-8, as every path in the program.
    std::string GetPathName() const override { return m_strPath; }

private:
    HWND m_hOwner = nullptr;
    std::string m_strPath;
};
