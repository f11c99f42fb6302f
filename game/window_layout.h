#pragma once

#include "platform/point.h"
#include "platform/rect.h"

#include <cstdint>
#include <functional>

class CPlayField;

// Dialog units to client pixels as the design's dialog font gives them
// (9 point: 6 x 12 pixels per 4 x 8 units), each of x, y, width and height
// on its own, halves rounded up.
Rect DialogUnitsToPixels(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight);

// The window template's control in client pixels, as that font places it;
// all zero for an id the template lacks.
Rect TemplateControlRect(int32_t nId);
// The template's client area in the same pixels: its far corner.
Point TemplateClientSize();

// Places the field's play area, title box and drawn buttons where the
// window's template controls lie, by id, and centres the snake there.
void LayOutField(CPlayField& field, const std::function<Rect(int32_t)>& controlRect);
