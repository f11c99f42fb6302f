#pragma once

#include <QString>

#include <string>

// Paths inside the program are bytes: UTF-8 on Windows, the file system's
// own bytes elsewhere. These turn them into text for the window and back.
std::string PathFromText(const QString& path);
QString PathToText(const std::string& strPath);
