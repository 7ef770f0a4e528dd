// The Administrator's time arrangement editor: a week of rules per child, the accounts, the
// options; closing it ends the program.
#pragma once

#include <string>

#include "core/rules/DayControls.h"
#include "core/rules/DayPreview.h"
#include "win/controls/FlatCombo.h"
#include "win/controls/GdiObject.h"
#include "win/controls/SkinButton.h"
#include "win/controls/TransLabel.h"
#include "win/framework/Dialog.h"
#include "win/windows/AccountManagerDlg.h"
#include "win/windows/DayStrip.h"
#include "win/windows/OptionsDlg.h"

class CDataStore;
class IAccountWindowHost;
class IControllerHost;

class CArrangementDlg : public CDialog {
public:
    // The store and the controller's host outlive the window; the host may be null in tests.
    // The lock screen that opened the editor (null in tests) takes it back at a switch of user.
    explicit CArrangementDlg(CDataStore* pStore, IControllerHost* pHost = nullptr,
                             IAccountWindowHost* pLockScreen = nullptr);
    ~CArrangementDlg() override;

    // Creates the modeless window (owned by the controller, the main window). The object deletes
    // itself after its window is destroyed.
    BOOL Create();

    // The editor's switch-user operation (tray, hot key); ignored while one of its dialogs is open.
    void SwitchUser();
    bool IsBusy() const;

    // The day controls as they stand.
    DAY_CONTROLS ReadControls() const;
    // The day being edited as a save would write it (the stored day with the controls applied).
    CDayPrj EditedDay() const;
    // The preview of the day being edited, as the strip and the sentence show it.
    const CDayPreview& Preview() const { return m_preview; }

    // The band at the top: painted from bitmap 244 and dragging the window.
    static constexpr int kBandHeight = 86;
    static const char* const kWebAddress;

    CDataStore* m_pStore;
    IControllerHost* m_pHost;
    IAccountWindowHost* m_pLockScreen;
    std::string m_strUser;  // the child whose week is shown; empty without children
    int m_nDay = 0;         // the weekday edited, 0 = Sunday
    int m_nUsage = USAGE_CONDITIONAL;
    bool m_bBusy = false;        // 1 while a save, a message box or a dialog of the editor is under way

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    bool OnCommand(int nId, int nCode, HWND hCtl) override;
    bool OnSysCommand(UINT nId, LPARAM lParam) override;
    bool OnEraseBkgnd(HDC hDC) override;
    bool OnPaint() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtl, UINT nCtlColor) override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void SetLooks();
    void BuildList();
    void FillConditionCombos();
    void FillUserCombo();
    void ShowWeek();
    void ShowDay();
    void ReadUsage();
    // Replays the day being edited and shows it under the controls.
    void RefreshPreview();
    void EnableConditions(bool bEnable);
    bool ValidateDay();
    void SaveDay();
    // "Save for...": the chosen weekdays of the chosen children, asked first and confirmed after.
    void SaveForMany();
    // A message box of the editor, with the busy flag set and the tray menu off while it is up.
    int ShowMessage(const std::string& strText, const std::string& strCaption, UINT nType);
    void ChooseDay(int nRow);
    void SelectDayRow();
    void ChooseUser();
    void DoSwitchUser();
    // Runs one of the editor's modal dialogs with the busy flag set and the tray menu off.
    INT_PTR RunBusy(CDialog& dlg);
    int ComboValue(int nId) const;
    void SelectComboValue(int nId, int nValue, const char* pszFormat);
    void OpenWebSite();
    // A pixel figure of the drawing in this window's dialog units.
    int SX(int x) const;
    int SY(int y) const;
    void SetListFont(int nHeight);

    CTransLabel m_title, m_dayName, m_logoText, m_info[3], m_previewText, m_previewPrograms;
    CDayStrip m_strip;
    CDayPreview m_preview;
    CSkinButton m_btnSaveFor;
    CSkinButton m_btnHistory;
    CSkinButton m_btnPrograms;
    CSkinButton m_btnSave, m_btnSwitch, m_btnAccounts, m_btnOptions, m_btnAbout, m_btnMinimise, m_btnClose;
    CFlatCombo m_combos[9];
    CAccountManagerDlg m_dlgAccounts;
    COptionsDlg m_dlgOptions;
    CGdiObject<HBITMAP> m_band;
    CGdiObject<HBITMAP> m_logo;
    CGdiObject<HBRUSH> m_bkBrush;
    CGdiObject<HFONT> m_listFont;
    // Set while the editor itself moves the list's selection, so that the move is not a choice.
    bool m_bSelecting = false;
    double m_dScaleX = 1.0, m_dScaleY = 1.0;
};
