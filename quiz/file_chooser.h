#pragma once

#include <string>

// The open-file dialog that the question set shows when it is given no
// existing file. The window supplies the real one; tests supply their own.
//
// An implementation offers question files first ("CsvFiles(*.csv)") and then
// every file ("AllFiles(*.*)"), accepts only names that exist and has no
// parent window.
class CFileChooser
{
public:
    virtual ~CFileChooser() = default;

    // Shows the dialog and waits for the player; true when a file was chosen,
    // false when the dialog was cancelled.
    virtual bool DoModal() = 0;

    // The full path of the chosen file, once DoModal returned true.
    virtual std::string GetPathName() const = 0;
};
