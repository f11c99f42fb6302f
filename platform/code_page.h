#pragma once

#include <string>

// Turns code page 932 (Shift-JIS as the desktop knows it) bytes into UTF-16
// for drawing. A byte or pair that is not a character on its own becomes
// U+30FB "・"; the rest of the text is always kept.
std::u16string DecodeCodePage932(const std::string& strBytes);
