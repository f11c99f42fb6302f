#pragma once

#include <string>

// Names that a question file must never be, for the tests of refusals.

// A name that exists but is a device, not a file: the null device.
std::string NullDevicePath();

// A regular file that opens but whose first read fails, with the error
// number that read gives; empty where the system offers none.
std::string UnreadableFilePath(int& nOsError);
