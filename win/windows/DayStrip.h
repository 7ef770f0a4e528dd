// The editor's 24-hour strip: the preview of the day being edited as coloured spans (use, rests,
// outside the permitted period, total used up, forbidden) over an hour scale.
#pragma once

#include <vector>

#include "core/rules/DayPreview.h"
#include "win/framework/Wnd.h"

class CDayStrip : public CWnd {
public:
    // The spans to draw (none: an empty strip); redraws at once.
    void SetSpans(std::vector<PREVIEW_SPAN> spans);
    const std::vector<PREVIEW_SPAN>& Spans() const { return m_spans; }

    // The colour of each kind of span, so that tests can find them in the window's pixels.
    static COLORREF ColourOf(PREVIEW_KIND kind);
    // The bar's rectangle in the control's client area: the hours' labels are drawn below it.
    RECT BarRect() const;

    // Paints the strip into a device context in client coordinates.
    void Paint(HDC hDC) const;

protected:
    bool OnEraseBkgnd(HDC hDC) override;
    bool OnPaint() override;

private:
    std::vector<PREVIEW_SPAN> m_spans;
};
