#include "win32/wide_text.h"

#include "platform/code_page.h"

#include <windows.h>

std::wstring WideFromUtf8(const std::string& strText)
{
    const int nIn = static_cast<int>(strText.size());
    const int nOut = ::MultiByteToWideChar(CP_UTF8, 0, strText.data(), nIn, nullptr, 0);
    std::wstring wstrText(static_cast<size_t>(nOut > 0 ? nOut : 0), L'\0');
    if (nOut > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, strText.data(), nIn, &wstrText[0], nOut);
    return wstrText;
}

std::string Utf8FromWide(const std::wstring& wstrText)
{
    const int nIn = static_cast<int>(wstrText.size());
    const int nOut = ::WideCharToMultiByte(CP_UTF8, 0, wstrText.data(), nIn, nullptr, 0, nullptr, nullptr);
    std::string strText(static_cast<size_t>(nOut > 0 ? nOut : 0), '\0');
    if (nOut > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wstrText.data(), nIn, &strText[0], nOut, nullptr, nullptr);
    return strText;
}

std::wstring WideFromCodePage932(const std::string& strBytes)
{
    const std::u16string text = DecodeCodePage932(strBytes);
    return std::wstring(text.begin(), text.end());
}
