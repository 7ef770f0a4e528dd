// The options of the installed program, whose guard service starts it: instead of a start with
// Windows, the parent ticks the Windows accounts Quenby is kept running in; the choice is written
// through the guard with the Administrator's proof, and refused without it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "core/store/DataStore.h"
#include "core/store/ProtectedAccounts.h"
#include "DialogAnswer.h"
#include "LookTestSupport.h"
#include "platform/win32/WindowsAccounts.h"
#include "resources/resource.h"
#include "support/FakeClock.h"
#include "support/GuardedFolder.h"
#include "support/ScreenCapture.h"
#include "win/windows/OptionsDlg.h"

namespace {

void Shot(HWND hDlg, const std::string& strName) {
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT rc;
        ::GetWindowRect(hDlg, &rc);
        SaveScreenArea(rc, strFolder + strName + ".bmp");
    }
}

// Opens the options, ticks the first account as given and presses OK; the accounts listed.
int ChooseFirstAccount(CDataStore& store, bool bProtect, std::vector<std::string>& listed, const char* pszShot = nullptr) {
    COptionsDlg dlg;
    dlg.m_pStore = &store;
    CMessageBoxCloser closer;
    CDialogAnswer answer(IDC_OPTIONS_ACCOUNTS, [&](HWND hDlg) {
        HWND hList = ::GetDlgItem(hDlg, IDC_OPTIONS_ACCOUNTS);
        EXPECT_TRUE(::IsWindowVisible(hList));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hDlg, IDC_OPTIONS_AUTO_RUN))) << "no start with Windows of its own";
        for (int n = 0; n < ListView_GetItemCount(hList); ++n) {
            char szText[256] = {};
            ListView_GetItemText(hList, n, 0, szText, sizeof szText);
            listed.push_back(szText);
        }
        if (!listed.empty()) ListView_SetCheckState(hList, 0, bProtect);
        if (pszShot) Shot(hDlg, pszShot);
        CDialogAnswer::Click(hDlg, IDOK);
    });
    const int nResult = static_cast<int>(dlg.DoModal());
    return closer.m_texts.empty() ? nResult : -1;
}

}  // namespace

TEST(GuardedOptions, TheParentTicksTheWindowsAccountsQuenbyIsKeptRunningIn) {
    CFakeClock clock(1778576400);
    CGuardedFolder guarded;
    CDataStore store;
    ASSERT_EQ(store.LoadAccounts(), EAdminState::Ready);
    ASSERT_TRUE(store.m_adminAccount.AcceptsPassword(CGuardedFolder::kPassword));

    const std::vector<WINDOWS_ACCOUNT> machine = LocalWindowsAccounts();
    ASSERT_FALSE(machine.empty()) << "the machine's accounts are listed";
    std::vector<std::string> listed;
    EXPECT_EQ(ChooseFirstAccount(store, !machine[0].bAdministrator ? false : true, listed, "options-guarded"), IDOK);
    ASSERT_EQ(listed.size(), machine.size());
    EXPECT_EQ(listed[0].rfind(machine[0].strName, 0), 0u);
    CProtectedAccounts chosen;
    ASSERT_TRUE(chosen.Load());
    EXPECT_NE(chosen.IsProtected(machine[0].strName, machine[0].bAdministrator),
              !machine[0].bAdministrator) << "the first account ticked against its rule";
    EXPECT_EQ(guarded.Record("protect.nam").size(), CProtectedAccounts::kRecordSize) << "written by the guard";

    // Without the Administrator's proof the guard refuses the choice, and the parent is told.
    guarded.m_client.Logout();
    listed.clear();
    EXPECT_EQ(ChooseFirstAccount(store, !machine[0].bAdministrator, listed), -1);
    CProtectedAccounts again;
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetList(), chosen.GetList());
}
