#pragma once

#include <cstdint>

// Trail bytes of a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr int kCodePage932Trails = 188;

// For each byte 0x80-0xFF, its row in kCodePage932Table, or -1 when it leads
// no table row (no lead byte, an empty lead byte, or a user-defined row).
extern const int8_t kCodePage932Row[128];
// The Unicode code point of each lead and trail byte pair; 0 for none.
extern const uint16_t kCodePage932Table[][kCodePage932Trails];
