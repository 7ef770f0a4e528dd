// The history chart.
#include "win/windows/UsageChart.h"

#include <algorithm>
#include <string>

#include "win/controls/DialogFrame.h"
#include "win/controls/GdiObject.h"
#include "win/controls/PaintDC.h"
#include "win/controls/UiFont.h"

namespace {
constexpr COLORREF kAxisColour = RGB(127, 157, 185);
constexpr COLORREF kGridColour = RGB(222, 230, 238);
constexpr COLORREF kLabelColour = RGB(90, 100, 110);
constexpr int kLeftMargin = 34, kBottomMargin = 16, kTopMargin = 6, kRightMargin = 4;
constexpr int kLabelHeight = 13;

void FillBox(HDC hDC, const RECT& rc, COLORREF cr) {
    if (rc.bottom <= rc.top || rc.right <= rc.left) return;
    CGdiObject<HBRUSH> brush(::CreateSolidBrush(cr));
    ::FillRect(hDC, &rc, brush.Get());
}

void Label(HDC hDC, const std::string& strText, int x, int y, UINT nAlign) {
    ::SetTextAlign(hDC, nAlign);
    ::TextOutA(hDC, x, y, strText.c_str(), static_cast<int>(strText.size()));
}
}  // namespace

void CUsageChart::SetDays(std::vector<CHART_DAY> days) {
    m_days = std::move(days);
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT CUsageChart::PlotRect() const {
    RECT rc{};
    if (m_hWnd) ::GetClientRect(m_hWnd, &rc);
    return RECT{rc.left + kLeftMargin, rc.top + kTopMargin, rc.right - kRightMargin, rc.bottom - kBottomMargin};
}

int CUsageChart::ScaleMinutes() const {
    int nMost = 60;
    for (const CHART_DAY& day : m_days) nMost = std::max({nMost, day.nUsedMinutes, day.nAllowedMinutes});
    return (nMost + 59) / 60 * 60;  // whole hours
}

int CUsageChart::HeightOf(int nMinutes) const {
    const RECT rc = PlotRect();
    return static_cast<int>(static_cast<long long>(std::max(0, nMinutes)) * (rc.bottom - rc.top) / ScaleMinutes());
}

RECT CUsageChart::ColumnRect(int nDay) const {
    const RECT rc = PlotRect();
    const int nCount = std::max<int>(1, static_cast<int>(m_days.size()));
    const int nLeft = rc.left + (rc.right - rc.left) * nDay / nCount;
    const int nRight = rc.left + (rc.right - rc.left) * (nDay + 1) / nCount;
    return RECT{nLeft, rc.top, nRight, rc.bottom};
}

bool CUsageChart::OnEraseBkgnd(HDC) { return true; }  // the paint covers every pixel

bool CUsageChart::OnPaint() {
    const CPaintDC dc(m_hWnd);
    Paint(dc.Get());
    return true;
}

void CUsageChart::Paint(HDC hDC) const {
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    FillBox(hDC, rcClient, kDialogBkColor);
    const RECT rcPlot = PlotRect();
    const CGdiObject<HFONT> font = CreateUiFont(kLabelHeight);
    CSelectObject selectFont(hDC, font.Get());
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, kLabelColour);

    // A grid line and a label for every hour (every second hour on a tall scale).
    const int nHours = ScaleMinutes() / 60;
    const int nStep = nHours > 8 ? 2 : 1;
    for (int nHour = nStep; nHour <= nHours; nHour += nStep) {
        const int y = rcPlot.bottom - HeightOf(nHour * 60);
        FillBox(hDC, RECT{rcPlot.left, y, rcPlot.right, y + 1}, kGridColour);
        Label(hDC, std::to_string(nHour) + " h", rcPlot.left - 4, y - kLabelHeight / 2, TA_RIGHT | TA_TOP);
    }
    for (int n = 0; n < static_cast<int>(m_days.size()); ++n) {
        const CHART_DAY& day = m_days[static_cast<std::size_t>(n)];
        const RECT rcColumn = ColumnRect(n);
        const int nWidth = rcColumn.right - rcColumn.left;
        const int nGap = std::max(1, nWidth / 6);
        if (day.bKnown)
            FillBox(hDC, RECT{rcColumn.left + nGap, rcPlot.bottom - HeightOf(day.nAllowedMinutes), rcColumn.right - nGap,
                              rcPlot.bottom},
                    kAllowedColour);
        FillBox(hDC, RECT{rcColumn.left + 2 * nGap, rcPlot.bottom - HeightOf(day.nUsedMinutes), rcColumn.right - 2 * nGap,
                          rcPlot.bottom},
                day.bToday ? kTodayColour : kAccentColor);
        if ((static_cast<int>(m_days.size()) - 1 - n) % 7 == 0)
            Label(hDC, std::to_string(day.nDate % 100), (rcColumn.left + rcColumn.right) / 2, rcPlot.bottom + 2,
                  TA_CENTER | TA_TOP);
    }
    FillBox(hDC, RECT{rcPlot.left - 1, rcPlot.top, rcPlot.left, rcPlot.bottom + 1}, kAxisColour);
    FillBox(hDC, RECT{rcPlot.left - 1, rcPlot.bottom, rcPlot.right, rcPlot.bottom + 1}, kAxisColour);
    ::SetTextAlign(hDC, TA_LEFT | TA_TOP);
}
