#include "win32/gdi_painter.h"

#include "game/ball_picture.h"
#include "win32/resource.h"
#include "win32/wide_text.h"

#include <algorithm>
#include <vector>

namespace {

// The game's face by its Japanese and its English name; else a face every
// Windows has, which shows Japanese through font linking, though not in
// cells of fixed width.
const wchar_t* const kFaces[] = {L"ＭＳ ゴシック", L"MS Gothic", L"MS Shell Dlg 2"};

int CALLBACK StopAtFirstFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM)
{
    return 0;
}

bool FaceExists(const wchar_t* pszFace)
{
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, pszFace, LF_FACESIZE);
    HDC hScreen = ::GetDC(nullptr);
    // The enumeration ends early, returning 0, only when a face was found.
    const bool bFound = ::EnumFontFamiliesExW(hScreen, &lf, StopAtFirstFace, 0, 0) == 0;
    ::ReleaseDC(nullptr, hScreen);
    return bFound;
}

// The ball pictures' side at 1x, in 96-dpi pixels.
constexpr int32_t kBallSide = 30;

bool IsEmpty(const Rect& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// A picture of nSide pixels square from rows of 0x00RRGGBB, as GDI keeps one.
HBITMAP MakeBitmap(const std::vector<uint32_t>& pixels, int32_t nSide)
{
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), nSide, -nSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap)
        std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(pBits));
    return hBitmap;
}

} // namespace

CGdiPainter::CGdiPainter(HDC hDC, int32_t nDpi) : m_hDC(hDC), m_nDpi(nDpi > 0 ? nDpi : 96) {}

CGdiPainter::~CGdiPainter()
{
    if (m_hBallDC) {
        ::SelectObject(m_hBallDC, m_hOldBall);
        ::DeleteDC(m_hBallDC);
    }
    if (m_hMaskDC) {
        ::SelectObject(m_hMaskDC, m_hOldMask);
        ::DeleteDC(m_hMaskDC);
    }
    if (m_hBall)
        ::DeleteObject(m_hBall);
    if (m_hMask)
        ::DeleteObject(m_hMask);
}

const wchar_t* CGdiPainter::LabelFace()
{
    static const wchar_t* const pszFace = [] {
        for (const wchar_t* pszCandidate : kFaces) {
            if (FaceExists(pszCandidate))
                return pszCandidate;
        }
        return kFaces[2];
    }();
    return pszFace;
}

RECT CGdiPainter::ToDevice(const Rect& rc) const
{
    // Edges, not sizes, are scaled, so boxes that touch keep touching.
    return RECT{Scale(rc.left, m_nDpi), Scale(rc.top, m_nDpi), Scale(rc.right, m_nDpi),
                Scale(rc.bottom, m_nDpi)};
}

void CGdiPainter::DrawBox(Rect rc, Colour outline, Colour fill)
{
    if (IsEmpty(rc))
        return;
    const RECT rcDevice = ToDevice(rc);
    // Filled rather than drawn with a pen: Rectangle leaves out boxes one
    // pixel wide or high (a wedge's tip), FillRect covers left <= x < right
    // and top <= y < bottom exactly. The edge is one pixel, scaled up.
    const int32_t nWidth = Scale(1, m_nDpi);
    HBRUSH hOutline = ::CreateSolidBrush(outline);
    ::FillRect(m_hDC, &rcDevice, hOutline);
    ::DeleteObject(hOutline);
    RECT rcInside = rcDevice;
    ::InflateRect(&rcInside, -nWidth, -nWidth);
    if (fill != outline && rcInside.left < rcInside.right && rcInside.top < rcInside.bottom) {
        HBRUSH hFill = ::CreateSolidBrush(fill);
        ::FillRect(m_hDC, &rcInside, hFill);
        ::DeleteObject(hFill);
    }
}

HFONT CGdiPainter::CreateLabelFont(int32_t nSize) const
{
    // Tenths of a point at the screen's resolution, rounded as the desktop
    // rounds them: 200 is 27 pixels at 96 dpi.
    return ::CreateFontW(-::MulDiv(nSize, m_nDpi, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, LabelFace());
}

void CGdiPainter::DrawCentred(Rect rc, const std::wstring& wstrText, int32_t nSize, Colour colour)
{
    HFONT hFont = CreateLabelFont(nSize);
    HGDIOBJ hOldFont = ::SelectObject(m_hDC, hFont);
    ::SetTextColor(m_hDC, colour);
    ::SetBkMode(m_hDC, TRANSPARENT);
    RECT rcText = ToDevice(rc);
    // One line, centred and clipped to the box. No prefix: an "&" in an
    // answer is a letter like any other, not an underline.
    ::DrawTextW(m_hDC, wstrText.c_str(), static_cast<int>(wstrText.size()), &rcText,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(m_hDC, hOldFont);
    ::DeleteObject(hFont);
}

void CGdiPainter::DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour colour)
{
    if (strText.empty() || IsEmpty(rc))
        return;
    const COLORREF oldColour = ::GetTextColor(m_hDC);
    DrawCentred(rc, WideFromCodePage932(strText), nSize, colour);
    ::SetTextColor(m_hDC, oldColour);
}

void CGdiPainter::DrawLabelPart(Rect rcText, Rect rcClip, const std::string& strText, int32_t nSize,
                                Colour colour)
{
    if (strText.empty() || IsEmpty(rcText) || IsEmpty(rcClip))
        return;
    const int nSaved = ::SaveDC(m_hDC);
    const RECT rcDevice = ToDevice(rcClip);
    ::IntersectClipRect(m_hDC, rcDevice.left, rcDevice.top, rcDevice.right, rcDevice.bottom);
    DrawCentred(rcText, WideFromCodePage932(strText), nSize, colour);
    ::RestoreDC(m_hDC, nSaved);
}

TextExtent CGdiPainter::MeasureLabel(const std::string& strText, int32_t nSize)
{
    const std::wstring wstrText = WideFromCodePage932(strText);
    HFONT hFont = CreateLabelFont(nSize);
    HGDIOBJ hOldFont = ::SelectObject(m_hDC, hFont);
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(m_hDC, wstrText.c_str(), static_cast<int>(wstrText.size()), &rc,
                DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(m_hDC, &tm);
    ::SelectObject(m_hDC, hOldFont);
    ::DeleteObject(hFont);
    // In the field's pixels, as everything the panel decides with.
    return TextExtent{::MulDiv(rc.right - rc.left, 96, m_nDpi), ::MulDiv(tm.tmHeight, 96, m_nDpi)};
}

void CGdiPainter::LoadBalls()
{
    // The game's own pictures at their size; drawn anew for the screen's
    // pixels at any other, so that the ball stays sharp.
    m_nBallSide = Scale(kBallSide, m_nDpi);
    if (m_nBallSide == kBallSide) {
        HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
        m_hBall = ::LoadBitmapW(hInstance, MAKEINTRESOURCEW(IDB_BALL));
        m_hMask = ::LoadBitmapW(hInstance, MAKEINTRESOURCEW(IDB_BALLMASK));
    } else {
        const CBallPicture picture(m_nBallSide);
        m_hBall = MakeBitmap(picture.Ball(), m_nBallSide);
        m_hMask = MakeBitmap(picture.Mask(), m_nBallSide);
    }
    m_hBallDC = ::CreateCompatibleDC(m_hDC);
    m_hMaskDC = ::CreateCompatibleDC(m_hDC);
    m_hOldBall = ::SelectObject(m_hBallDC, m_hBall);
    m_hOldMask = ::SelectObject(m_hMaskDC, m_hMask);
}

void CGdiPainter::DrawBall(Rect rc)
{
    if (IsEmpty(rc))
        return;
    if (!m_hBallDC)
        LoadBalls();
    if (!m_hBall || !m_hMask)
        return;
    // From the pictures' corner, never more than one ball.
    rc.right = rc.left + std::min(rc.Width(), kBallSide);
    rc.bottom = rc.top + std::min(rc.Height(), kBallSide);
    const RECT dst = ToDevice(rc);
    const int nWidth = std::min<int>(dst.right - dst.left, m_nBallSide);
    const int nHeight = std::min<int>(dst.bottom - dst.top, m_nBallSide);
    // The mask ORed first whitens the disc and keeps the corners; the ball,
    // white outside its disc, ANDed second colours only the disc.
    ::BitBlt(m_hDC, dst.left, dst.top, nWidth, nHeight, m_hMaskDC, 0, 0, SRCPAINT);
    ::BitBlt(m_hDC, dst.left, dst.top, nWidth, nHeight, m_hBallDC, 0, 0, SRCAND);
}
