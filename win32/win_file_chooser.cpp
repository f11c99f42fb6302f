#include "win32/win_file_chooser.h"

#include "win32/wide_text.h"

#include <commdlg.h>

#include <vector>

bool CWinFileChooser::DoModal()
{
    // Long paths fit: the dialog fails rather than cut a name short.
    std::vector<wchar_t> name(32768, L'\0');
    std::vector<wchar_t> folder(32768, L'\0');
    const DWORD nFolder = ::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hOwner;
    ofn.lpstrFilter = L"CsvFiles(*.csv)\0*.csv\0AllFiles(*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = nFolder > 0 && nFolder < folder.size() ? folder.data() : nullptr;
    // The dialog must not move the game's working directory.
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn))
        return false;
    m_strPath = Utf8FromWide(name.data());
    return true;
}
