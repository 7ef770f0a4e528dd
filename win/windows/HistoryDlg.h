// A child's history, opened from the editor's toolbar: the chart of the last 28 days (today's
// bar follows use.sta while the window is open), or a plain sentence when nothing was recorded
// yet, under it the events from the event log, newest first, and each program's minutes per day.
#pragma once

#include <string>

#include "win/controls/FramedDialog.h"
#include "win/controls/SkinButton.h"
#include "win/windows/UsageChart.h"

class CDataStore;

class CHistoryDlg : public CFramedDialog {
public:
    CHistoryDlg(CWnd* pParent, CDataStore* pStore, std::string strUser);

    static constexpr int kDays = 28;
    static constexpr UINT_PTR kLiveTimer = 1;

    const CUsageChart& Chart() const { return m_chart; }
    // True when the window shows the sentence instead of the chart.
    bool ShowsEmpty() const { return m_bEmpty; }

protected:
    BOOL OnInitDialog() override;
    bool OnTimer(UINT_PTR nId) override;
    void OnDestroy() override;

private:
    void RefreshChart();
    void FillEvents();
    void FillPrograms();

    CDataStore* m_pStore;
    std::string m_strUser;
    CUsageChart m_chart;
    CSkinButton m_btnClose;
    bool m_bEmpty = false;
};
