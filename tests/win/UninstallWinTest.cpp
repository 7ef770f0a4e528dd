// The uninstall request's prompt in process: refused until the Administrator's password is typed,
// and the words of the command line that ask for it.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/store/AdminAccount.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "DialogAnswer.h"
#include "LookTestSupport.h"
#include "resources/resource.h"
#include "support/ScreenCapture.h"
#include "win/app/Uninstall.h"
#include "win/windows/UninstallDlg.h"

TEST(Uninstall, IsAskedForByItsOwnWordOnly) {
    EXPECT_TRUE(IsUninstallRequest("\"C:\\Program Files\\Quenby\\Quenby.exe\" /uninstall"));
    EXPECT_TRUE(IsUninstallRequest("Quenby.exe /UNINSTALL"));
    EXPECT_FALSE(IsUninstallRequest("\"C:\\Program Files\\Quenby\\Quenby.exe\""));
    EXPECT_FALSE(IsUninstallRequest("Quenby.exe *mute*"));
    EXPECT_FALSE(IsUninstallRequest("Quenby.exe /uninstallnow"));
}

TEST(Uninstall, ThePromptEndsWithOkOnlyForTheAdministratorsPassword) {
    CAdminAccount admin;
    CopyToField("pw", admin.m_admin.szPassword, sizeof admin.m_admin.szPassword);
    {
        CMessageBoxCloser closer;
        CUninstallDlg dlg(admin);
        CDialogAnswer answer(IDC_UNINSTALL_PASSWORD, [&](HWND hDlg) {
            EXPECT_EQ(CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_TITLE)), "Uninstall Quenby");
            if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
                RECT rc;
                ::GetWindowRect(hDlg, &rc);
                ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                SaveScreenArea(rc, strFolder + "uninstall-prompt.bmp");
            }
            for (const char* pszWrong : {"PW", ""}) {
                ::SetDlgItemTextA(hDlg, IDC_UNINSTALL_PASSWORD, pszWrong);
                ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                EXPECT_TRUE(::IsWindowVisible(hDlg)) << pszWrong;
                EXPECT_EQ(CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_UNINSTALL_PASSWORD)), "") << "emptied";
            }
            ::SetDlgItemTextA(hDlg, IDC_UNINSTALL_PASSWORD, "pw");
            CDialogAnswer::Click(hDlg, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        ASSERT_EQ(closer.m_texts.size(), 2u);
        EXPECT_EQ(closer.m_captions[0], "Wrong password");
    }

    // Cancel and the close button refuse.
    for (int nId : {IDCANCEL, IDC_TITLE_CLOSE}) {
        CUninstallDlg again(admin);
        CDialogAnswer cancel(IDC_UNINSTALL_PASSWORD, [&](HWND hDlg) { CDialogAnswer::Click(hDlg, nId); });
        EXPECT_EQ(again.DoModal(), IDCANCEL) << nId;
    }
}
