// The account dialogs and the options dialog in process: names refused and accepted, the four
// files a deleted child leaves, password changes, the manager's buttons, the first-run dialog
// that only OK ends, and the options kept in line with the auto-run value.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/seams/SystemActions.h"
#include "core/store/DataStore.h"
#include "core/store/EventLog.h"
#include "core/store/RecordField.h"
#include "core/texts/Utilities.h"
#include "DialogAnswer.h"
#include "LookTestSupport.h"
#include "platform/win32/ModulePath.h"
#include "resources/resource.h"
#include "support/FailingFiles.h"
#include "win/controls/WinUtilities.h"
#include "win/framework/WinApp.h"
#include "win/windows/AccountManagerDlg.h"
#include "win/windows/AddAccountDlg.h"
#include "win/windows/AdminPasswordDlg.h"
#include "win/windows/ChangePasswordDlg.h"
#include "win/windows/OptionsDlg.h"

#include <algorithm>
#include "support/ScreenCapture.h"
#include "support/TempFolder.h"

namespace {

// System actions with a registry of Run and RunOnce values; everything else refuses.
class CRunValues final : public ISystemActions {
public:
    CRunValues() { CSystem::Use(this); }
    ~CRunValues() override { CSystem::Use(nullptr); }
    CRunValues(const CRunValues&) = delete;
    CRunValues& operator=(const CRunValues&) = delete;

    bool SetLocalTime(const CLocalTime&) override { return false; }
    bool OpenProcessToken() override { return false; }
    bool AdjustShutdownPrivilege() override { return false; }
    bool ExitSystem(unsigned) override { return false; }
    bool StartProcess(const std::string&, const std::string&) override { return false; }
    long WriteRunValue(const std::string& strName, const std::string& strData) override {
        ++m_nWrites;
        if (m_nRefuse) return m_nRefuse;
        if (!m_bForget) m_values[strName] = strData;
        return 0;
    }
    long ReadRunValue(const std::string& strName, std::string& strData) override {
        auto it = m_values.find(strName);
        if (it == m_values.end()) return ERROR_FILE_NOT_FOUND;
        strData = it->second;
        return 0;
    }
    long DeleteRunValue(const std::string& strName) override {
        if (m_nRefuse) return m_nRefuse;
        if (m_bForget) return 0;
        return m_values.erase(strName) ? 0 : ERROR_FILE_NOT_FOUND;
    }
    long WriteRunOnceValue(const std::string& strName, const std::string& strData) override {
        if (m_nRefuse) return m_nRefuse;
        if (!m_bForget) m_runOnce[strName] = strData;
        return 0;
    }
    long DeleteRunOnceValue(const std::string& strName) override {
        if (m_nRefuse) return m_nRefuse;
        return m_runOnce.erase(strName) ? 0 : ERROR_FILE_NOT_FOUND;
    }
    void SendKey(unsigned char, bool) override {}
    unsigned long GetForegroundLockTimeout() override { return 0; }
    void SetForegroundLockTimeout(unsigned long) override {}

    std::map<std::string, std::string> m_values;
    std::map<std::string, std::string> m_runOnce;
    int m_nWrites = 0;
    long m_nRefuse = 0;     // every change fails with this status
    bool m_bForget = false;  // every change reports success and changes nothing
};

void SetText(HWND hDlg, int nId, const std::string& strText) { ::SetDlgItemTextA(hDlg, nId, strText.c_str()); }
void Press(HWND hDlg, int nId) { ::SendMessageA(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0); }
bool Checked(HWND hDlg, int nId) { return ::IsDlgButtonChecked(hDlg, nId) == BST_CHECKED; }
void Shot(HWND hDlg, const std::string& strName) {
    if (const std::string strFolder = ScreenshotFolder(); !strFolder.empty()) {
        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT rc;
        ::GetWindowRect(hDlg, &rc);
        SaveScreenArea(rc, strFolder + strName + ".bmp");
    }
}

// The records of a file of fixed-size records, in order.
std::vector<BYTES> Records(const BYTES& bytes, size_t nSize) {
    std::vector<BYTES> records;
    for (size_t n = 0; n + nSize <= bytes.size(); n += nSize) records.emplace_back(bytes.begin() + n, bytes.begin() + n + nSize);
    return records;
}
BYTES Join(const std::vector<BYTES>& records) {
    BYTES bytes;
    for (const BYTES& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
    return bytes;
}

class Accounts : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* pszName : {"Tom", "Ann", "Lee"}) {
            m_store.m_childAccounts.Add(pszName);
            m_store.m_prjStore.Add(CUserPrj(pszName));
        }
        m_store.m_childAccounts.Save();
        m_store.m_prjStore.Save();
    }
    // Runs the add dialog with the values typed in; returns the message boxes it showed.
    std::vector<std::string> Add(const std::string& strName, bool bTick, const std::string& strPassword) {
        CAddAccountDlg dlg;
        dlg.m_pStore = &m_store;
        CMessageBoxCloser closer;
        CDialogAnswer answer(IDC_ADD_NAME_LABEL, [&](HWND hDlg) {
            SetText(hDlg, IDC_ADD_NAME, strName);
            if (bTick) Press(hDlg, IDC_ADD_WANTS_PASSWORD);
            EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(hDlg, IDC_ADD_PASSWORD)) != 0, bTick);
            SetText(hDlg, IDC_ADD_PASSWORD, strPassword);
            Shot(hDlg, "account-add");
            CDialogAnswer::Click(hDlg, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK) << strName;
        for (size_t n = 0; n < closer.m_captions.size(); ++n)
            EXPECT_EQ(closer.m_captions[n], "Failed to create a new account");
        return closer.m_texts;
    }

    CTempFolder m_folder;
    CRunValues m_registry;
    CDataStore m_store;
};

}  // namespace

TEST(NewAccountName, MustDifferFromEveryChildAndTheAdministrator) {
    CTempFolder folder;
    CDataStore store;
    store.m_childAccounts.Add("Tom");
    const std::pair<const char*, NAME_CHECK> cases[] = {
        {"", NAME_CHECK::EMPTY},        {"Tom", NAME_CHECK::TAKEN},    {"tom", NAME_CHECK::OK},
        {"TOM", NAME_CHECK::OK},        {"Administrator", NAME_CHECK::TAKEN}, {"administrator", NAME_CHECK::OK},
        {"Tom Lee", NAME_CHECK::OK},
    };
    for (auto [pszName, check] : cases) EXPECT_EQ(CheckNewName(store, pszName), check) << pszName;
}

TEST_F(Accounts, AddingRefusesTakenNamesAfterClosingAndWritesAccountAndWeek) {
    const BYTES children = m_folder.Read("child.nam"), weeks = m_folder.Read("prj.nam");
    EXPECT_EQ(Add("  Tom\t", false, ""), std::vector<std::string>{"Account Tom already exists!"});
    EXPECT_EQ(Add("Administrator", true, "x"), std::vector<std::string>{"Account Administrator already exists!"});
    EXPECT_TRUE(Add(" \t ", false, "").empty()) << "an empty name does nothing";
    EXPECT_EQ(m_folder.Read("child.nam"), children);
    EXPECT_EQ(m_folder.Read("prj.nam"), weeks);

    // Case counts; a ticked box with an empty password and a password typed while unticked give
    // no password; a ticked box with a password gives one.
    EXPECT_TRUE(Add("tom", true, "").empty());
    EXPECT_TRUE(Add("Kim", false, "typed").empty());
    EXPECT_TRUE(Add("Max", true, "pw").empty());
    CChildAccountList expected;
    for (const char* pszName : {"Tom", "Ann", "Lee", "tom", "Kim"}) expected.Add(pszName);
    expected.Add("Max", "pw");
    CTempFolder scratch;
    expected.Save();
    // Byte for byte but the password fields, whose salts differ.
    auto withoutPasswords = [](BYTES bytes) {
        for (std::size_t nAt = 128; nAt + 32 <= bytes.size(); nAt += 172) std::fill_n(bytes.begin() + nAt, 32, 0);
        return bytes;
    };
    EXPECT_EQ(withoutPasswords(m_folder.Read("child.nam")), withoutPasswords(scratch.Read("child.nam")));
    CDataFolder::Use(m_folder.Folder());
    m_store.m_childAccounts.Load();
    EXPECT_EQ(m_store.m_childAccounts.HasPassword("tom"), 0);
    EXPECT_EQ(m_store.m_childAccounts.HasPassword("Kim"), 0);
    EXPECT_TRUE(m_store.m_childAccounts.AcceptsPassword("Max", "pw"));
    // Each new child gets a default week at the end of prj.nam.
    const std::vector<BYTES> blocks = Records(m_folder.Read("prj.nam"), CUserPrj::BLOCK_SIZE);
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(Join({blocks.begin(), blocks.begin() + 3}), weeks);
    CPrjStore one;
    one.Add(CUserPrj("Kim"));
    CDataFolder::Use(scratch.Folder());
    one.Save();
    EXPECT_EQ(blocks[4], scratch.Read("prj.nam"));
    CDataFolder::Use(m_folder.Folder());
}

TEST_F(Accounts, DeletingAChildLeavesNoTraceInItsFilesAndTheOthersInOrder) {
    for (const char* pszName : {"Tom", "Ann", "Lee"}) {
        USAGE_RECORD usage;
        usage.strUser = pszName;
        m_store.m_usageStore.Add(usage);
        m_store.m_activeUsers.Add(pszName);
    }
    m_store.m_usageStore.Save();
    m_store.m_activeUsers.Save();
    PROGRAM_RULE game;
    game.strProgram = "game.exe";
    m_store.m_programRules.ReplaceUser("Tom", {game});
    m_store.m_programRules.ReplaceUser("Ann", {game});
    m_store.m_programRules.Save();
    const auto before = [this](const char* pszFile, size_t nSize) { return Records(m_folder.Read(pszFile), nSize); };
    const std::vector<BYTES> rules = before("programs.lim", CProgramRuleStore::kRecordSize);
    const std::vector<BYTES> children = before("child.nam", 172), weeks = before("prj.nam", CUserPrj::BLOCK_SIZE),
                             usage = before("use.sta", 220), active = before("userinfo.aur", 128);
    ASSERT_EQ(usage.size(), 3u);
    ASSERT_EQ(active.size(), 3u);

    // A run where no child logged in has these two lists empty in memory: they are read first.
    CDataStore fresh;
    fresh.LoadAccounts();
    DeleteChildAccount(fresh, "Ann");
    EXPECT_EQ(m_folder.Read("child.nam"), Join({children[0], children[2]}));
    EXPECT_EQ(m_folder.Read("prj.nam"), Join({weeks[0], weeks[2]}));
    EXPECT_EQ(m_folder.Read("use.sta"), Join({usage[0], usage[2]}));
    EXPECT_EQ(m_folder.Read("userinfo.aur"), Join({active[0], active[2]}));
    EXPECT_EQ(m_folder.Read("programs.lim"), rules[0]) << "her rules per program go with her";

    // Not in the active list: userinfo.aur is left as it is.
    m_store.m_activeUsers = CActiveUserList();
    m_store.m_activeUsers.Add("Tom");
    m_store.m_activeUsers.Save();
    const BYTES activeBefore = m_folder.Read("userinfo.aur");
    DeleteChildAccount(fresh, "Lee");
    EXPECT_EQ(m_folder.Read("child.nam"), children[0]);
    EXPECT_EQ(m_folder.Read("use.sta"), usage[0]);
    EXPECT_EQ(m_folder.Read("userinfo.aur"), activeBefore);
}

TEST_F(Accounts, TheManagerListsTheAccountsAndEnablesItsButtonsByTheSelection) {
    CAccountManagerDlg dlg;
    dlg.m_pStore = &m_store;
    ASSERT_TRUE(dlg.Create());
    ::ShowWindow(dlg.m_hWnd, SW_SHOW);
    HWND hList = ::GetDlgItem(dlg.m_hWnd, IDC_ACCOUNT_LIST);
    ASSERT_EQ(ListView_GetItemCount(hList), 4);
    char szText[128] = {};
    ListView_GetItemText(hList, 0, 0, szText, sizeof szText);
    EXPECT_STREQ(szText, " Administrator");
    ListView_GetItemText(hList, 0, 1, szText, sizeof szText);
    EXPECT_STREQ(szText, " Administrator can set ordinary users' PC time");
    ListView_GetItemText(hList, 2, 0, szText, sizeof szText);
    EXPECT_STREQ(szText, " Ann");
    ListView_GetItemText(hList, 2, 1, szText, sizeof szText);
    EXPECT_STREQ(szText, " The ordinary users with restricted PC time");
    Shot(dlg.m_hWnd, "account-manager");

    auto enabled = [&dlg](int nId) { return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, nId)) != 0; };
    EXPECT_EQ(dlg.SelectedName(), "Administrator");
    EXPECT_FALSE(enabled(IDC_ACCOUNT_DELETE));
    EXPECT_TRUE(enabled(IDC_ACCOUNT_CHANGE));
    ListView_SetItemState(hList, 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(dlg.SelectedName(), "Ann");
    EXPECT_TRUE(enabled(IDC_ACCOUNT_DELETE));
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED);
    EXPECT_FALSE(enabled(IDC_ACCOUNT_DELETE) || enabled(IDC_ACCOUNT_CHANGE));

    // Delete takes the selected child out of the list at once, without a question.
    ListView_SetItemState(hList, 2, LVIS_SELECTED, LVIS_SELECTED);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ACCOUNT_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(ListView_GetItemCount(hList), 3);
    EXPECT_EQ(dlg.SelectedName(), "Administrator");
    EXPECT_FALSE(m_store.m_childAccounts.Exists("Ann"));
    dlg.DestroyWindow();
}

TEST_F(Accounts, PasswordsChangeOnlyWhenBothEntriesMatch) {
    auto change = [this](const std::string& strUser, std::vector<std::pair<std::string, std::string>> entries) {
        CChangePasswordDlg dlg;
        dlg.m_pStore = &m_store;
        dlg.m_strUser = strUser;
        CMessageBoxCloser closer;
        size_t nNext = 0;
        CDialogAnswer answer(IDC_CHANGE_PASSWORD_LABEL, [&](HWND hDlg) {
            EXPECT_EQ(CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_TITLE)), strUser + "'s password");
            Shot(hDlg, "account-change-password");
            // Each pair is typed and confirmed; after a mismatch the dialog is still there, emptied.
            while (nNext < entries.size()) {
                SetText(hDlg, IDC_CHANGE_PASSWORD, entries[nNext].first);
                SetText(hDlg, IDC_CHANGE_CONFIRM, entries[nNext].second);
                ++nNext;
                ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                if (nNext == entries.size()) break;  // the last pair matches and ends the dialog
                EXPECT_EQ(CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_CHANGE_PASSWORD)), "");
            }
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return closer.m_texts;
    };
    const std::string strMismatch = "The two inputted passwords do not match, \r\nplease re-enter the password.";
    EXPECT_EQ(change("Ann", {{"one", "One"}, {"", ""}}), std::vector<std::string>{strMismatch});
    CChildAccountList children;
    children.Load();
    EXPECT_EQ(children.HasPassword("Ann"), 1) << "an empty password is still a password";
    EXPECT_TRUE(children.AcceptsPassword("Ann", ""));

    // The Administrator never gets an empty password; the refusal keeps the dialog open.
    const std::string strEmpty =
        "The Administrator password cannot be empty.\r\nPlease choose a password that the children do not know.";
    EXPECT_EQ(change("Administrator", {{"", ""}, {"top", "top"}}), std::vector<std::string>{strEmpty});
    CAdminAccount admin;
    ASSERT_TRUE(admin.Load());
    EXPECT_EQ(admin.m_admin.bHasPassword, 1);
    EXPECT_TRUE(admin.AcceptsPassword("top"));
    EXPECT_EQ(admin.m_admin.szPassword[0], 0x01) << "stored hashed, not as text";
    EXPECT_EQ(std::string(admin.m_admin.szPassword, 32).find("top"), std::string::npos);
}

TEST_F(Accounts, TheFirstRunDialogEndsOnlyThroughAMatchingOkAndRegistersAutoRun) {
    m_registry.m_values[GetRunValueName()] = "C:\\old\\Quenby.exe";
    CAdminPasswordDlg dlg;
    dlg.m_pStore = &m_store;
    CMessageBoxCloser closer;
    CDialogAnswer answer(IDC_FIRST_PASSWORD, [&](HWND hDlg) {
        Shot(hDlg, "account-first-run");
        for (WPARAM nKey : {VK_ESCAPE, VK_RETURN}) {
            MSG msg{::GetDlgItem(hDlg, IDC_FIRST_PASSWORD), WM_KEYDOWN, nKey, 0, 0, {0, 0}};
            EXPECT_TRUE(CWinApp::PreTranslate(&msg)) << nKey;
        }
        ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_TRUE(::IsWindowVisible(hDlg)) << "nothing but OK ends it";
        SetText(hDlg, IDC_FIRST_PASSWORD, "a");
        SetText(hDlg, IDC_FIRST_CONFIRM, "b");
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIRST_OK, BN_CLICKED), 0);
        EXPECT_EQ(CDialogAnswer::Text(::GetDlgItem(hDlg, IDC_FIRST_CONFIRM)), "") << "emptied after a mismatch";
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_FIRST_OK, BN_CLICKED), 0);  // two empty entries
        EXPECT_TRUE(::IsWindowVisible(hDlg)) << "an empty Administrator password is refused";
        SetText(hDlg, IDC_FIRST_PASSWORD, "secret");
        SetText(hDlg, IDC_FIRST_CONFIRM, "secret");
        CDialogAnswer::Click(hDlg, IDC_FIRST_OK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(closer.m_texts.size(), 2u);
    EXPECT_EQ(closer.m_captions[0], "Password Changing failed");
    EXPECT_EQ(closer.m_captions[1], "Password Changing failed");
    EXPECT_EQ(closer.m_texts[1].rfind("The Administrator password cannot be empty.", 0), 0u);
    const ADMIN_ACCOUNT& admin = m_store.m_adminAccount.m_admin;
    EXPECT_EQ(admin.bHasPassword, 1);
    EXPECT_TRUE(m_store.m_adminAccount.AcceptsPassword("secret"));
    ASSERT_FALSE(CEventLog::ReadAll().empty());
    EXPECT_EQ(CEventLog::ReadAll().back().strKind, "first run");
    EXPECT_EQ(admin.bAutoRun, 1);
    EXPECT_EQ(admin.bFirstRunPending, 0);
    EXPECT_EQ(m_registry.m_values[GetRunValueName()], GetModulePath()) << "written anew";
    EXPECT_EQ(m_registry.m_runOnce.count("*Quenby"), 1u) << "and the start in Safe Mode";
    CAdminAccount stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(std::memcmp(&stored.m_admin, &admin, sizeof admin), 0);
}

TEST_F(Accounts, OptionsKeepTheBackgroundPairAndTheAutoRunValueInLine) {
    // Opening with auto-run on and the value deleted by hand writes it again, even when cancelled.
    m_store.m_adminAccount.m_admin.bAutoRun = 1;
    m_store.m_adminAccount.m_admin.nLockBackground = 2;
    {
        COptionsDlg dlg;
        dlg.m_pStore = &m_store;
        CDialogAnswer answer(IDC_OPTIONS_AUTO_RUN, [](HWND hDlg) {
            EXPECT_TRUE(Checked(hDlg, IDC_OPTIONS_AUTO_RUN));
            EXPECT_TRUE(Checked(hDlg, IDC_OPTIONS_SEMI));
            EXPECT_FALSE(Checked(hDlg, IDC_OPTIONS_OPAQUE));
            Shot(hDlg, "options");
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_TITLE_CLOSE, BN_CLICKED), 0);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(m_registry.m_values[GetRunValueName()], GetModulePath());
    EXPECT_EQ(m_registry.m_runOnce.count("*Quenby"), 1u);
    EXPECT_FALSE(m_folder.Exists("parent.nam")) << "a cancel stores nothing";

    // Ticking the other box clears the first; clicking a ticked box moves the tick; OK stores.
    {
        COptionsDlg dlg;
        dlg.m_pStore = &m_store;
        CDialogAnswer answer(IDC_OPTIONS_AUTO_RUN, [](HWND hDlg) {
            Press(hDlg, IDC_OPTIONS_OPAQUE);
            EXPECT_FALSE(Checked(hDlg, IDC_OPTIONS_SEMI));
            Press(hDlg, IDC_OPTIONS_OPAQUE);
            EXPECT_TRUE(Checked(hDlg, IDC_OPTIONS_SEMI));
            Press(hDlg, IDC_OPTIONS_SEMI);
            EXPECT_TRUE(Checked(hDlg, IDC_OPTIONS_OPAQUE));
            Press(hDlg, IDC_OPTIONS_AUTO_RUN);
            CDialogAnswer::Click(hDlg, IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    CAdminAccount stored;
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.m_admin.nLockBackground, 1);
    EXPECT_EQ(stored.m_admin.bAutoRun, 0);
    EXPECT_TRUE(m_registry.m_values.empty()) << "auto-run off removes the value";
    EXPECT_TRUE(m_registry.m_runOnce.empty()) << "and the start in Safe Mode";

    // Neither box ticked at OK stores the semi-transparent background.
    m_store.m_adminAccount.m_admin.nLockBackground = 7;
    COptionsDlg dlg;
    dlg.m_pStore = &m_store;
    CDialogAnswer answer(IDC_OPTIONS_AUTO_RUN, [](HWND hDlg) {
        EXPECT_FALSE(Checked(hDlg, IDC_OPTIONS_SEMI) || Checked(hDlg, IDC_OPTIONS_OPAQUE));
        CDialogAnswer::Click(hDlg, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_store.m_adminAccount.m_admin.nLockBackground, 2);
    EXPECT_EQ(m_registry.m_nWrites, 1);
}

TEST_F(Accounts, OptionsShowWhatTheRegistryHoldsAndTellTheParentWhenAChangeFails) {
    // Opens the options and reports whether the box is ticked; the message boxes shown meanwhile
    // are collected.
    auto open = [&](std::vector<std::string>& texts) {
        bool bTicked = false;
        COptionsDlg dlg;
        dlg.m_pStore = &m_store;
        CMessageBoxCloser closer;
        CDialogAnswer answer(IDC_OPTIONS_AUTO_RUN, [&](HWND hDlg) {
            bTicked = Checked(hDlg, IDC_OPTIONS_AUTO_RUN);
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_TITLE_CLOSE, BN_CLICKED), 0);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        texts = closer.m_texts;
        return bTicked;
    };
    std::vector<std::string> texts;
    m_store.m_adminAccount.m_admin.bAutoRun = 1;

    // The registry refuses, or says yes and keeps nothing: the parent is told, the box is empty.
    for (auto [nRefuse, bForget, pszError] : {std::tuple{5L, false, "(error 5)"}, {0L, true, "(error 13)"}}) {
        m_registry.m_nRefuse = nRefuse;
        m_registry.m_bForget = bForget;
        EXPECT_FALSE(open(texts)) << pszError;
        ASSERT_EQ(texts.size(), 1u) << pszError;
        EXPECT_NE(texts[0].find("could not register itself to start with Windows " + std::string(pszError)),
                  std::string::npos)
            << texts[0];
    }
    EXPECT_TRUE(m_registry.m_values.empty());

    // A value the registry will not give up stays ticked, and the parent is told.
    m_registry.m_bForget = false;
    m_registry.m_nRefuse = 0;
    m_registry.m_values[GetRunValueName()] = GetModulePath();
    m_store.m_adminAccount.m_admin.bAutoRun = 0;
    m_registry.m_nRefuse = 5;
    EXPECT_TRUE(open(texts));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("could not remove"), std::string::npos) << texts[0];

    // When the registry obeys, nothing is said and the box follows it.
    m_registry.m_nRefuse = 0;
    EXPECT_FALSE(open(texts));
    EXPECT_TRUE(texts.empty());
    EXPECT_TRUE(m_registry.m_values.empty());
}

TEST_F(Accounts, AFailedSaveIsToldToTheParentAndKeepsTheChangeInMemory) {
    m_store.m_adminAccount.m_admin.nLockBackground = 2;
    CFailingFiles failing;
    failing.Fail(CFailingFiles::kReplace);
    COptionsDlg dlg;
    dlg.m_pStore = &m_store;
    CMessageBoxCloser closer;
    CDialogAnswer answer(IDC_OPTIONS_AUTO_RUN, [](HWND hDlg) {
        Press(hDlg, IDC_OPTIONS_OPAQUE);
        CDialogAnswer::Click(hDlg, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    failing.Fail(CFailingFiles::kNoFault);
    ASSERT_EQ(closer.m_captions.size(), 1u);
    EXPECT_EQ(closer.m_captions[0], "Save failed");
    EXPECT_EQ(closer.m_texts[0].rfind("Quenby could not save parent.nam.", 0), 0u) << closer.m_texts[0];
    EXPECT_EQ(m_store.m_adminAccount.m_admin.nLockBackground, 1) << "the change holds in memory";
    EXPECT_FALSE(m_folder.Exists("parent.nam"));
    ASSERT_FALSE(CEventLog::ReadAll().empty());
    EXPECT_EQ(CEventLog::ReadAll().back().strKind, "save failed");
}
