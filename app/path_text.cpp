#include "app/path_text.h"

#include <QFile>

std::string PathFromText(const QString& path)
{
#if defined(Q_OS_WIN)
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString PathToText(const std::string& strPath)
{
    const QByteArray bytes(strPath.data(), static_cast<qsizetype>(strPath.size()));
#if defined(Q_OS_WIN)
    return QString::fromUtf8(bytes);
#else
    return QFile::decodeName(bytes);
#endif
}
