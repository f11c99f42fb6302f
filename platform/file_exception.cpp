#include "platform/file_exception.h"

#include <system_error>

CFileException::CFileException(const std::string& strPath, int nOsError)
    : std::runtime_error(strPath + ": " + std::generic_category().message(nOsError)),
      m_strPath(strPath),
      m_nOsError(nOsError)
{
}
