#include "game/ball_picture.h"

#include <algorithm>
#include <cmath>

namespace {

// The highlight up and left of the centre, and the dark lower-right rim.
constexpr double kHighlight[] = {135, 195, 242};
constexpr double kRim[] = {52, 85, 108};
// Samples per pixel side when measuring how much of a pixel the disc covers.
constexpr int kSamples = 8;

uint32_t Rgb(const double c[3])
{
    uint32_t rgb = 0;
    for (int i = 0; i < 3; ++i)
        rgb = rgb << 8 | static_cast<uint32_t>(std::clamp(std::nearbyint(c[i]), 0.0, 255.0));
    return rgb;
}

} // namespace

CBallPicture::CBallPicture(int32_t nSide)
    : m_nSide(std::max(1, nSide)), m_ball(static_cast<size_t>(m_nSide) * m_nSide),
      m_mask(static_cast<size_t>(m_nSide) * m_nSide)
{
    const double r = m_nSide / 2.0;
    for (int32_t y = 0; y < m_nSide; ++y) {
        for (int32_t x = 0; x < m_nSide; ++x) {
            int nInside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples - r;
                    const double py = y + (sy + 0.5) / kSamples - r;
                    nInside += px * px + py * py <= r * r;
                }
            }
            const double coverage = static_cast<double>(nInside) / (kSamples * kSamples);
            // Bright up-left, dark down-right.
            const double d = std::hypot(x + 0.5 - r * 0.65, y + 0.5 - r * 0.6) / (r * 1.45);
            const double t = std::pow(std::min(1.0, d), 1.3);
            double shade[3];
            double ball[3];
            for (int i = 0; i < 3; ++i) {
                shade[i] = std::nearbyint(kHighlight[i] + (kRim[i] - kHighlight[i]) * t);
                ball[i] = 255 + (shade[i] - 255) * coverage;
            }
            const size_t nAt = static_cast<size_t>(y) * m_nSide + x;
            // Where the mask is black the ball is pure white, so that the AND
            // leaves what lies under the corners.
            m_mask[nAt] = coverage >= 0.75 ? 0xFFFFFF : coverage >= 0.25 ? 0x808080 : 0x000000;
            m_ball[nAt] = coverage < 0.25 ? 0xFFFFFF : Rgb(ball);
        }
    }
}
