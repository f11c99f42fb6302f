#pragma once

#include <string>

// Whether a graphical session is there to show a window in. Where it is not,
// why says so in one line, with how to run the game without one.
bool HasDisplay(std::string& strWhy);
