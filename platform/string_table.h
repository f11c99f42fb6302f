#pragma once

#include <cstdint>
#include <string>

// The program's own strings by id, as code page 932 bytes.
constexpr int32_t IDS_ABOUTBOX = 101;

// The string with this id, or an empty text for an id the table lacks.
std::string LoadStringResource(int32_t nId);
