// The 24-hour strip of the editor's preview.
#include "win/windows/DayStrip.h"

#include <string>

#include "win/controls/DialogFrame.h"
#include "win/controls/GdiObject.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"

namespace {
constexpr COLORREF kFrameColour = RGB(127, 157, 185);
constexpr COLORREF kScaleColour = RGB(90, 100, 110);
constexpr int kLabelHeight = 13;
}  // namespace

COLORREF CDayStrip::ColourOf(PREVIEW_KIND kind) {
    switch (kind) {
        case PREVIEW_KIND::IN_USE: return kAccentColor;
        case PREVIEW_KIND::REST: return RGB(240, 170, 50);
        case PREVIEW_KIND::OUTSIDE: return RGB(205, 210, 216);
        case PREVIEW_KIND::USED_UP: return RGB(120, 126, 134);
        case PREVIEW_KIND::FORBIDDEN: return RGB(196, 72, 60);
    }
    return kDialogBkColor;
}

void CDayStrip::SetSpans(std::vector<PREVIEW_SPAN> spans) {
    m_spans = std::move(spans);
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT CDayStrip::BarRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return RECT{rc.left, rc.top, rc.right, rc.bottom - kLabelHeight - 2};
}

bool CDayStrip::OnEraseBkgnd(HDC) { return true; }  // the paint covers every pixel

bool CDayStrip::OnPaint() {
    const CPaintDC dc(m_hWnd);
    Paint(dc.Get());
    return true;
}

void CDayStrip::Paint(HDC hDC) const {
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    CGdiObject<HBRUSH> background(::CreateSolidBrush(kDialogBkColor));
    ::FillRect(hDC, &rcClient, background.Get());
    const RECT rcBar = BarRect();
    const int nWidth = rcBar.right - rcBar.left - 2;  // inside the frame
    auto XOf = [&rcBar, nWidth](int nSecond) {
        return rcBar.left + 1 + static_cast<int>(static_cast<long long>(nSecond) * nWidth / CDayPreview::kDaySecs);
    };
    for (const PREVIEW_SPAN& span : m_spans) {
        CGdiObject<HBRUSH> brush(::CreateSolidBrush(ColourOf(span.kind)));
        const RECT rcSpan{XOf(span.nFrom), rcBar.top + 1, XOf(span.nTo), rcBar.bottom - 1};
        ::FillRect(hDC, &rcSpan, brush.Get());
    }
    CGdiObject<HPEN> framePen(::CreatePen(PS_SOLID, 1, kFrameColour));
    {
        CSelectObject pen(hDC, framePen.Get());
        CSelectObject brush(hDC, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(hDC, rcBar.left, rcBar.top, rcBar.right, rcBar.bottom);
    }
    // The hour scale: a tick every hour under the bar, a label every three.
    CGdiObject<HPEN> scalePen(::CreatePen(PS_SOLID, 1, kScaleColour));
    const CGdiObject<HFONT> font = CreateUiFont(kLabelHeight);
    CSelectObject pen(hDC, scalePen.Get());
    CSelectObject selectFont(hDC, font.Get());
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, kScaleColour);
    for (int nHour = 0; nHour <= 24; ++nHour) {
        const int x = nHour == 24 ? rcBar.right - 1 : XOf(nHour * 3600);
        ::MoveToEx(hDC, x, rcBar.bottom, nullptr);
        ::LineTo(hDC, x, rcBar.bottom + (nHour % 3 == 0 ? 4 : 2));
        if (nHour % 3 != 0) continue;
        const std::string strLabel = ClockOfDay(nHour * 3600);
        SIZE size{};
        ::GetTextExtentPoint32A(hDC, strLabel.c_str(), static_cast<int>(strLabel.size()), &size);
        int xLabel = x - size.cx / 2;
        if (xLabel < rcClient.left) xLabel = rcClient.left;
        if (xLabel + size.cx > rcClient.right) xLabel = rcClient.right - size.cx;
        ::TextOutA(hDC, xLabel, rcBar.bottom + 3, strLabel.c_str(), static_cast<int>(strLabel.size()));
    }
}
