#pragma once

#include <cstdint>
#include <vector>

// The snake's ball and its mask drawn for a screen's own pixels, at any
// size: a shaded light-blue sphere on white, and a white disc on black with
// a grey rim, as the game's pictures are made. Front-ends draw them where no
// picture of theirs has the size, so that the ball stays sharp at any scale.
class CBallPicture
{
public:
    // nSide pixels square.
    explicit CBallPicture(int32_t nSide);

    int32_t GetSide() const { return m_nSide; }
    // Rows from the top, 0x00RRGGBB.
    const std::vector<uint32_t>& Ball() const { return m_ball; }
    const std::vector<uint32_t>& Mask() const { return m_mask; }

private:
    int32_t m_nSide;
    std::vector<uint32_t> m_ball;
    std::vector<uint32_t> m_mask;
};
