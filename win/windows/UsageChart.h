// The history window's bar chart: for each of the last days the minutes allowed as a pale bar and
// the minutes used as an accent bar in front of it, today's in a lighter accent; hours on the
// left, the day of the month under every seventh bar.
#pragma once

#include <vector>

#include "core/rules/DayHistory.h"
#include "win/framework/Wnd.h"

class CUsageChart : public CWnd {
public:
    void SetDays(std::vector<CHART_DAY> days);

    // Paints the chart into a device context in client coordinates.
    void Paint(HDC hDC) const;

    // The plot's rectangle, the minutes its height stands for, and the column of day n.
    RECT PlotRect() const;
    int ScaleMinutes() const;
    RECT ColumnRect(int nDay) const;
    // The height in pixels a count of minutes is drawn with.
    int HeightOf(int nMinutes) const;

    static constexpr COLORREF kAllowedColour = RGB(200, 222, 234);
    static constexpr COLORREF kTodayColour = RGB(84, 170, 204);

protected:
    bool OnEraseBkgnd(HDC hDC) override;
    bool OnPaint() override;

private:
    std::vector<CHART_DAY> m_days;
};
