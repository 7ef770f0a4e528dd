// The list of events at the Administrator's login.
#include "win/windows/EventsDlg.h"

#include <algorithm>

#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"

namespace {
constexpr const char kExplanation[] =
    "These events happened since the last Administrator login. The event log (events.log in the "
    "data folder) keeps them.";
}  // namespace

CEventsDlg::CEventsDlg(std::vector<EVENT_ENTRY> events, CWnd* pParent)
    : CFramedDialog(IDD_EVENTS, pParent), m_events(std::move(events)) {}

BOOL CEventsDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(408));
    SetDlgItemText(IDC_EVENTS_TEXT, kExplanation);
    if (m_btnOk.SubclassDlgItem(IDOK, this)) ApplyActionButtonLook(m_btnOk, 0);
    HWND hList = GetDlgItem(IDC_EVENTS_LIST);
    // Newest first: the parent reads what happened last at the top. Blanks instead of tabs, so
    // the columns read as text.
    LRESULT nWidest = 0;
    HDC hDC = ::GetDC(hList);
    HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(hList, WM_GETFONT, 0, 0)));
    for (auto it = m_events.rbegin(); it != m_events.rend(); ++it) {
        const std::string strLine = it->strTime + "   " + it->strKind + "   " + it->strAccount + "   " + it->strDetail;
        ::SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strLine.c_str()));
        SIZE size{};
        ::GetTextExtentPoint32A(hDC, strLine.c_str(), static_cast<int>(strLine.size()), &size);
        nWidest = std::max<LRESULT>(nWidest, size.cx + 8);
    }
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hList, hDC);
    ::SendMessageA(hList, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(nWidest), 0);
    return TRUE;
}
