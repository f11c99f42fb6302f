#include "platform/file_exception.h"

#include <system_error>

namespace {

std::string Describe(int nOsError, CFileException::EKind kind)
{
    if (kind == CFileException::EKind::NotRegular)
        return "not a regular file";
    return std::generic_category().message(nOsError);
}

} // namespace

CFileException::CFileException(const std::string& strPath, int nOsError, EKind kind)
    : std::runtime_error(strPath + ": " + Describe(nOsError, kind)),
      m_strPath(strPath),
      m_nOsError(nOsError),
      m_kind(kind)
{
}
