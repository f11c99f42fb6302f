#pragma once

#include "quiz/file_chooser.h"

#include <string>

// A file chooser that answers as the test tells it and counts its showings.
class CFixedChooser : public CFileChooser
{
public:
    bool DoModal() override
    {
        ++m_nShown;
        return m_bConfirm;
    }
    std::string GetPathName() const override { return m_strPath; }

    bool m_bConfirm = true;
    std::string m_strPath;
    int m_nShown = 0;
};
