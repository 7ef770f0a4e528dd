// The child's notice settings dialog.
#include "win/windows/NoticeSettingsDlg.h"

#include <commctrl.h>

#include <cstdlib>

#include "core/store/DataStore.h"
#include "core/store/PrjStore.h"
#include "core/store/UserPrj.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/PaintDC.h"
#include "win/controls/WinUtilities.h"
#include "win/windows/SaveFailure.h"
#include "win/windows/StatusWndLink.h"

namespace {

constexpr COLORREF kLineColor = RGB(138, 160, 240);
const char* const kSecondsItems[] = {"10", "20", "30", "40"};

void SetItem(HWND hList, int nRow, int nColumn, const std::string& strText) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = nRow;
    item.iSubItem = nColumn;
    item.pszText = const_cast<char*>(strText.c_str());
    ::SendMessageA(hList, nColumn == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CNoticeSettingsDlg::CNoticeSettingsDlg(CWnd* pParent) : CFramedDialog(IDD_NOTICE_SETTINGS, pParent) {}

BOOL CNoticeSettingsDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText(GetMsgText(294));
    const struct {
        int nId;
        unsigned nText;
    } texts[] = {{IDC_NOTICE_WEEK_CAPTION, 386}, {IDC_NOTICE_WORDS_CAPTION, 314}, {IDC_NOTICE_ADVANCE, 315},
                 {IDC_NOTICE_BEFORE, 316},       {IDC_NOTICE_SOUND_CAPTION, 388}, {IDC_NOTICE_SOUND, 390},
                 {IDC_NOTICE_HINT, 392}};
    for (const auto& text : texts) SetDlgItemText(text.nId, GetMsgText(text.nText));
    m_btnOk.SubclassDlgItem(IDOK, this);
    ApplyActionButtonLook(m_btnOk, 1);
    m_comboSeconds.SubclassDlgItem(IDC_NOTICE_SECONDS, this);
    for (const char* pszItem : kSecondsItems)
        ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));

    // The week, read only: one row a day from Sunday.
    const HWND hList = GetDlgItem(IDC_NOTICE_WEEK);
    ::SetWindowLongA(hList, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    InsertListColumn(hList, 0, GetMsgText(122), 80);
    InsertListColumn(hList, 1, GetMsgText(124), 680);
    const CUserPrj* pWeek = m_strUser.empty() || !m_pStore ? nullptr : m_pStore->m_prjStore.Find(m_strUser);
    for (int nDay = 0; nDay < 7; ++nDay) {
        SetItem(hList, nDay, 0, GetMsgText(126 + 2 * static_cast<unsigned>(nDay)));
        SetItem(hList, nDay, 1, pWeek ? pWeek->m_days[static_cast<std::size_t>(nDay)].GetSummary() : GetMsgText(144));
    }

    if (m_pStore) {
        const std::string strSeconds = std::to_string(m_pStore->m_childAccounts.GetNoticeSeconds(m_strUser));
        const LRESULT nFound = ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>(strSeconds.c_str()));
        ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_SETCURSEL, static_cast<WPARAM>(nFound), 0);
        ::CheckDlgButton(m_hWnd, IDC_NOTICE_SOUND,
                         m_pStore->m_childAccounts.GetAlertSound(m_strUser) != 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

bool CNoticeSettingsDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    return CFramedDialog::OnCommand(nId, nCode, hCtl);
}

void CNoticeSettingsDlg::OnOK() {
    if (m_pStore) {
        CChildAccountList& accounts = m_pStore->m_childAccounts;
        const LRESULT nIndex = ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_GETCURSEL, 0, 0);
        // A stored value that matches no item selects none; it is kept as it is.
        if (nIndex != CB_ERR) {
            char szItem[32] = {};
            if (::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0) <
                static_cast<LRESULT>(sizeof(szItem)))
                ::SendDlgItemMessageA(m_hWnd, IDC_NOTICE_SECONDS, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                                      reinterpret_cast<LPARAM>(szItem));
            accounts.SetNoticeSeconds(m_strUser, std::atoi(Trimmed(szItem).c_str()));
        }
        accounts.SetAlertSound(m_strUser, ::IsDlgButtonChecked(m_hWnd, IDC_NOTICE_SOUND) == BST_CHECKED ? 1 : 0);
        CheckSaved(accounts.Save(), CChildAccountList::kFileName, m_hWnd, nullptr);
    }
    if (m_pStatusWnd) m_pStatusWnd->RefreshNoticeSettings();
    EndDialog(IDOK);
}

bool CNoticeSettingsDlg::OnPaint() {
    const CPaintDC dc(m_hWnd);
    DrawGradientLine(dc.Get(), 200, 49, 544, kLineColor, kLineColor, 1);
    DrawGradientLine(dc.Get(), 100, 262, 544, kLineColor, kLineColor, 1);
    DrawGradientLine(dc.Get(), 100, 318, 544, kLineColor, kLineColor, 1);
    return true;
}
