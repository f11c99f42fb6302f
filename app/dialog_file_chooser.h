#pragma once

#include "quiz/file_chooser.h"

#include <string>

class QWidget;

// The open-file dialog of the desktop, opening in the current directory with
// question files offered first.
class CDialogFileChooser : public CFileChooser
{
public:
    explicit CDialogFileChooser(QWidget* pParent = nullptr) : m_pParent(pParent) {}

    bool DoModal() override;
    std::string GetPathName() const override { return m_strPath; }

private:
    QWidget* m_pParent;
    std::string m_strPath;
};
