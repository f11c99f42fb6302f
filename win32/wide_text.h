#pragma once

#include <string>

// The program's paths and messages are UTF-8; Windows wants UTF-16. Bytes
// that are no UTF-8 become U+FFFD rather than cutting the text short.
std::wstring WideFromUtf8(const std::string& strText);
std::string Utf8FromWide(const std::wstring& wstrText);
// Code page 932 bytes as the game draws them (see DecodeCodePage932).
std::wstring WideFromCodePage932(const std::string& strBytes);
