// The editor's Programs window.
#include "win/windows/ProgramsDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "core/store/DataStore.h"
#include "core/texts/MsgText.h"
#include "resources/resource.h"
#include "win/controls/DialogFrame.h"
#include "win/controls/WinUtilities.h"
#include "win/windows/RunningProgramsDlg.h"
#include "win/windows/SaveFailure.h"

namespace {

constexpr int kEveryDayCombo = 7;

// The combo box of a weekday (0 = Sunday), or of every day.
int ComboId(int nDay) { return nDay == kEveryDayCombo ? IDC_PROGRAMS_EVERY_DAY : IDC_PROGRAMS_DAY0 + nDay; }

std::string DayName(int nDay) { return GetMsgText(126 + 2 * static_cast<unsigned>(nDay)); }

std::string OutsideText(const PROGRAM_RULE& rule) { return rule.CountsOutside() ? "Yes" : ""; }

}  // namespace

CProgramsDlg::CProgramsDlg(CWnd* pParent, CDataStore* pStore, IControllerHost* pHost, std::string strUser)
    : CFramedDialog(IDD_PROGRAMS, pParent), m_pStore(pStore), m_pHost(pHost), m_strUser(std::move(strUser)) {}

BOOL CProgramsDlg::OnInitDialog() {
    CFramedDialog::OnInitDialog();
    m_title.SetWindowText("Programs of " + m_strUser);
    SetDlgItemText(IDC_PROGRAMS_TEXT,
                   "Programs with minutes of their own each day, or blocked. A rule names the program's file, "
                   "as the Task Manager shows it (game.exe); Windows and Quenby cannot have one.");
    SetDlgItemText(IDC_PROGRAMS_OUTSIDE_HINT,
                   "For homework: usable when the day's time is used up, but only within the permitted hours and "
                   "never on a forbidden day; its minutes are not added to the day's total.");
    for (int nDay = 0; nDay < 7; ++nDay) SetDlgItemText(IDC_PROGRAMS_DAY_LABEL0 + nDay, DayName(nDay));
    const struct {
        CSkinButton* pButton;
        int nId;
    } buttons[] = {{&m_btnAdd, IDC_PROGRAMS_ADD},
                   {&m_btnRunning, IDC_PROGRAMS_RUNNING},
                   {&m_btnRemove, IDC_PROGRAMS_REMOVE},
                   {&m_btnOk, IDOK},
                   {&m_btnCancel, IDCANCEL}};
    for (const auto& button : buttons)
        if (button.pButton->SubclassDlgItem(button.nId, this))
            ApplyActionButtonLook(*button.pButton, button.nId == IDC_PROGRAMS_RUNNING ? 2 : 0);
    for (int nCombo = 0; nCombo <= kEveryDayCombo; ++nCombo) {
        m_combos[nCombo].SubclassDlgItem(ComboId(nCombo), this);
        FillMinuteCombo(ComboId(nCombo));
    }
    ::SendMessageA(GetDlgItem(IDC_PROGRAMS_NAME), EM_LIMITTEXT, CProgramRuleStore::kProgramSize - 1, 0);
    if (m_pStore) {
        m_pStore->m_programRules.Load();
        m_list.Load(m_pStore->m_programRules, m_strUser);
    }
    SetUpList();
    ShowRules();
    Select(m_list.Count() > 0 ? 0 : -1);
    return TRUE;
}

void CProgramsDlg::SetUpList() {
    HWND hList = GetDlgItem(IDC_PROGRAMS_LIST);
    ListView_SetExtendedListViewStyle(hList, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    RECT rc{};
    ::GetClientRect(hList, &rc);
    const int cxProgram = rc.right / 4, cxOutside = rc.right / 5;
    InsertListColumn(hList, 0, "Program", cxProgram);
    InsertListColumn(hList, 1, "Minutes a day", rc.right - cxProgram - cxOutside - ::GetSystemMetrics(SM_CXVSCROLL));
    InsertListColumn(hList, 2, "Outside the limits", cxOutside);
}

void CProgramsDlg::FillMinuteCombo(int nId) {
    HWND hCombo = GetDlgItem(nId);
    for (std::int32_t nMinutes : CProgramList::MinuteChoices()) {
        const LRESULT nItem = ::SendMessageA(hCombo, CB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(CProgramList::MinutesText(nMinutes).c_str()));
        ::SendMessageA(hCombo, CB_SETITEMDATA, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMinutes));
    }
}

void CProgramsDlg::SelectMinutes(int nId, std::int32_t nMinutes) {
    HWND hCombo = GetDlgItem(nId);
    const LRESULT nCount = ::SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT n = 0; n < nCount; ++n) {
        if (static_cast<std::int32_t>(::SendMessageA(hCombo, CB_GETITEMDATA, static_cast<WPARAM>(n), 0)) == nMinutes) {
            ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(n), 0);
            return;
        }
    }
    // A figure not among the choices (from another version, or written by hand) is shown as it is.
    const LRESULT nItem =
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CProgramList::MinutesText(nMinutes).c_str()));
    ::SendMessageA(hCombo, CB_SETITEMDATA, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMinutes));
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
}

std::int32_t CProgramsDlg::ChosenMinutes(int nId) const {
    HWND hCombo = GetDlgItem(nId);
    const LRESULT nItem = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
    if (nItem == CB_ERR) return PROGRAM_RULE::NO_LIMIT;
    return static_cast<std::int32_t>(::SendMessageA(hCombo, CB_GETITEMDATA, static_cast<WPARAM>(nItem), 0));
}

void CProgramsDlg::ShowRules() {
    HWND hList = GetDlgItem(IDC_PROGRAMS_LIST);
    m_bShowing = true;
    ListView_DeleteAllItems(hList);
    for (std::size_t n = 0; n < m_list.Count(); ++n) {
        const PROGRAM_RULE& rule = m_list.At(n);
        InsertListRow(hList, static_cast<int>(n), {rule.strProgram, CProgramList::WeekText(rule), OutsideText(rule)});
    }
    if (m_nSelected >= 0)
        ListView_SetItemState(hList, m_nSelected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_bShowing = false;
}

void CProgramsDlg::Select(int nRow) {
    m_nSelected = nRow >= 0 && static_cast<std::size_t>(nRow) < m_list.Count() ? nRow : -1;
    HWND hList = GetDlgItem(IDC_PROGRAMS_LIST);
    m_bShowing = true;
    if (m_nSelected >= 0) {
        ListView_SetItemState(hList, m_nSelected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(hList, m_nSelected, FALSE);
    }
    m_bShowing = false;
    ShowSelected();
}

void CProgramsDlg::ShowSelected() {
    const bool bAny = m_nSelected >= 0;
    m_bShowing = true;
    EnableItem(IDC_PROGRAMS_REMOVE, bAny);
    EnableItem(IDC_PROGRAMS_BLOCKED, bAny);
    EnableItem(IDC_PROGRAMS_OUTSIDE, bAny);
    if (!bAny) {
        SetDlgItemText(IDC_PROGRAMS_SELECTED, "Add a program, or pick one in the list, to set its minutes.");
        for (int nCombo = 0; nCombo <= kEveryDayCombo; ++nCombo) {
            ::SendMessageA(GetDlgItem(ComboId(nCombo)), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            EnableItem(ComboId(nCombo), FALSE);
        }
        ::CheckDlgButton(m_hWnd, IDC_PROGRAMS_BLOCKED, BST_UNCHECKED);
        ::CheckDlgButton(m_hWnd, IDC_PROGRAMS_OUTSIDE, BST_UNCHECKED);
        m_bShowing = false;
        return;
    }
    const PROGRAM_RULE& rule = m_list.At(static_cast<std::size_t>(m_nSelected));
    SetDlgItemText(IDC_PROGRAMS_SELECTED, "Minutes a day for " + rule.strProgram + ":");
    for (int nDay = 0; nDay < 7; ++nDay) {
        SelectMinutes(ComboId(nDay), rule.nMinutes[static_cast<std::size_t>(nDay)]);
        EnableItem(ComboId(nDay), !rule.IsBlocked());
    }
    // "Every day" shows a figure only while all seven days agree.
    const bool bSame = std::all_of(rule.nMinutes.begin(), rule.nMinutes.end(),
                                   [&rule](std::int32_t n) { return n == rule.nMinutes[0]; });
    if (bSame)
        SelectMinutes(IDC_PROGRAMS_EVERY_DAY, rule.nMinutes[0]);
    else
        ::SendMessageA(GetDlgItem(IDC_PROGRAMS_EVERY_DAY), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EnableItem(IDC_PROGRAMS_EVERY_DAY, !rule.IsBlocked());
    ::CheckDlgButton(m_hWnd, IDC_PROGRAMS_BLOCKED, rule.IsBlocked() ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PROGRAMS_OUTSIDE, rule.CountsOutside() ? BST_CHECKED : BST_UNCHECKED);
    m_bShowing = false;
}

void CProgramsDlg::AddTyped() {
    std::size_t nIndex = 0;
    const std::string strRefusal = m_list.Add(GetDlgItemText(IDC_PROGRAMS_NAME), std::string(), &nIndex);
    if (!strRefusal.empty()) {
        ShowMessage(strRefusal);
        ::SetFocus(GetDlgItem(IDC_PROGRAMS_NAME));
        return;
    }
    SetDlgItemText(IDC_PROGRAMS_NAME, "");
    ShowRules();
    Select(static_cast<int>(nIndex));
}

void CProgramsDlg::AddRunning() {
    CRunningProgramsDlg dlg(this);
    if (dlg.DoModal() != IDOK) return;
    std::size_t nIndex = 0;
    const std::string strRefusal = m_list.Add(dlg.m_chosen.strImage, dlg.m_chosen.strPath, &nIndex);
    if (!strRefusal.empty()) {
        ShowMessage(strRefusal);
        return;
    }
    ShowRules();
    Select(static_cast<int>(nIndex));
}

void CProgramsDlg::RemoveSelected() {
    if (m_nSelected < 0) return;
    m_list.Remove(static_cast<std::size_t>(m_nSelected));
    const int nNext = std::min(m_nSelected, static_cast<int>(m_list.Count()) - 1);
    m_nSelected = -1;
    ShowRules();
    Select(nNext);
}

void CProgramsDlg::ChooseMinutes(int nId) {
    if (m_nSelected < 0) return;
    const std::size_t nRule = static_cast<std::size_t>(m_nSelected);
    const int nDay = nId == IDC_PROGRAMS_EVERY_DAY ? CProgramList::kEveryDay : nId - IDC_PROGRAMS_DAY0;
    m_list.SetMinutes(nRule, nDay, ChosenMinutes(nId));
    ShowRules();
    ShowSelected();
}

void CProgramsDlg::ShowMessage(const std::string& strText) {
    ShowHostMessage(m_hWnd, strText, "Programs", MB_OK | MB_ICONINFORMATION, m_pHost);
}

bool CProgramsDlg::OnCommand(int nId, int nCode, HWND hCtl) {
    if (nId >= IDC_PROGRAMS_DAY0 && nId <= IDC_PROGRAMS_EVERY_DAY) {
        if (nCode == CBN_SELCHANGE && !m_bShowing) ChooseMinutes(nId);
        return true;
    }
    switch (nId) {
        case IDC_PROGRAMS_ADD:
            if (nCode == BN_CLICKED) AddTyped();
            return true;
        case IDC_PROGRAMS_RUNNING:
            if (nCode == BN_CLICKED) AddRunning();
            return true;
        case IDC_PROGRAMS_REMOVE:
            if (nCode == BN_CLICKED) RemoveSelected();
            return true;
        case IDC_PROGRAMS_BLOCKED:
        case IDC_PROGRAMS_OUTSIDE:
            if (nCode != BN_CLICKED || m_bShowing || m_nSelected < 0) return true;
            if (nId == IDC_PROGRAMS_BLOCKED)
                m_list.SetBlocked(static_cast<std::size_t>(m_nSelected),
                                  ::IsDlgButtonChecked(m_hWnd, IDC_PROGRAMS_BLOCKED) == BST_CHECKED);
            else
                m_list.SetCountsOutside(static_cast<std::size_t>(m_nSelected),
                                        ::IsDlgButtonChecked(m_hWnd, IDC_PROGRAMS_OUTSIDE) == BST_CHECKED);
            ShowRules();
            ShowSelected();
            return true;
        default:
            return CFramedDialog::OnCommand(nId, nCode, hCtl);
    }
}

bool CProgramsDlg::OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    if (nMsg == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader->idFrom == IDC_PROGRAMS_LIST && pHeader->code == LVN_ITEMCHANGED) {
            const auto* pChange = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (!m_bShowing && (pChange->uChanged & LVIF_STATE) && (pChange->uNewState & LVIS_SELECTED) &&
                !(pChange->uOldState & LVIS_SELECTED)) {
                m_nSelected = pChange->iItem;
                ShowSelected();
            }
            lResult = 0;
            return true;
        }
    }
    return CFramedDialog::OnMessage(nMsg, wParam, lParam, lResult);
}

void CProgramsDlg::OnOK() {
    if (::GetFocus() == GetDlgItem(IDC_PROGRAMS_NAME) && !GetDlgItemText(IDC_PROGRAMS_NAME).empty()) {
        AddTyped();
        return;
    }
    if (m_pStore && m_list.IsChanged() &&
        !CheckSaved(m_list.Save(m_pStore->m_programRules), CProgramRuleStore::kFileName, m_hWnd, m_pHost))
        return;  // kept open: the parent may try again or cancel
    EndDialog(IDOK);
}
