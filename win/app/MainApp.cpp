// Start-up of the program.
#include "win/app/MainApp.h"

#include <memory>
#include <string>

#include "companion/CompanionNames.h"
#include "core/seams/Clock.h"
#include "core/seams/DataFolder.h"
#include "core/seams/Events.h"
#include "platform/win32/ModulePath.h"
#include "win/app/ControlDlg.h"
#include "win/app/InstallCheck.h"
#include "win/app/Uninstall.h"
#include "win/controls/DialogFrame.h"

namespace {

constexpr const char* kAlreadyRunning = "Application already running!";
constexpr const char* kDamaged =
    "This application has failed to start because some files has been damaged. \r\n"
    "Re-installing the application may fix this problem.";

CMainApp theApp;

}  // namespace

BOOL CMainApp::InitInstance() {
    // The token counts anywhere in the line, even inside another argument; case matters.
    const bool bMute = std::string(::GetCommandLineA()).find(kMuteToken) != std::string::npos;
    // Installed with its guard: the guard owns the data, keeps the program running and counts
    // the gaps; the program writes nothing itself and needs no companion of its own.
    if (CGuardLink::IsInstalledFor(GetModuleDir())) m_guard.Install(m_messenger);

    // The uninstaller's question comes before the single-instance rule: Quenby is usually running.
    if (IsUninstallRequest(::GetCommandLineA())) {
        SetDialogBkColor(RGB(240, 245, 250), RGB(10, 10, 10));
        m_nExitCode = RunUninstallRequest(m_messenger);
        return FALSE;
    }

    CEvents::Use(&m_eventSink);

    m_instanceMutex.Reset(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
    const bool bMutexExisted = ::GetLastError() == ERROR_ALREADY_EXISTS || !m_instanceMutex;
    // The last run's heartbeat, read before this run beats over it.
    LUMRIK_BEAT lastBeat;
    const bool bBeat = m_messenger.ReadBeat(&lastBeat);
    if (bMutexExisted) {
        // Only a running Quenby of this build (its file ours or stamped like ours) refuses the
        // start: a decoy of the same name holding the mutex and writing the beat is ignored.
        if (bBeat && lastBeat.nPid != ::GetCurrentProcessId() && m_messenger.IsProgramProcess(lastBeat.nPid)) {
            if (!bMute) AppMessageBox(kAlreadyRunning, MB_OK);
            return FALSE;
        }
        CEvents::Record(EVENT_KIND::INSTANCE_MUTEX_HELD,
                        "The instance mutex was held by a program that is not Quenby; Quenby started all the same.");
    }
    // Beating at once tells a second start and the companion that this process is the program.
    m_messenger.Beat(CClock::Now(), "", CClock::Zone().c_str());

    if (!CheckInstallation(GetModuleDir())) {
        AppMessageBox(kDamaged, MB_OK);
        m_messenger.SetMainProgState(PROGRAM_ADMINISTRATOR);
        // Ended on purpose: a companion still running from before is not to start it again.
        m_nExitCode = static_cast<int>(m_messenger.EndOnPurpose());
        return FALSE;
    }

    // A real write into the data folder; the lock screen tells the parent when it failed.
    CDataFolder::ProveWritable();

    m_messenger.SetMainProgPathName(GetModulePath().c_str());
    if (HANDLE hCompanion = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kCompanionMutexName))
        ::CloseHandle(hCompanion);
    else
        m_messenger.SetMainProgState(PROGRAM_LOCKED);

    SetDialogBkColor(kDialogBkColor, RGB(10, 10, 10));

    auto pControl = std::make_unique<CControlDlg>();
    m_pMainWnd = pControl.get();
    pControl->UseMessenger(&m_messenger);
    // With a guard service the service counts a gap itself: no last beat of this account is taken.
    if (bBeat && !m_guard.IsInstalled()) pControl->UseLastBeat(lastBeat.tWall, lastBeat.szUser, lastBeat.szZone, lastBeat.nPid);
    pControl->UseRestartAfterHang(!m_guard.IsInstalled() &&
                                  std::string(::GetCommandLineA()).find(kHungToken) != std::string::npos);
    pControl->DoModal();
    // The value handed to the companion when the Administrator quit: the process ends with it.
    if (pControl->EndCode() != 0) m_nExitCode = static_cast<int>(pControl->EndCode());
    m_pMainWnd = nullptr;
    return FALSE;
}

int CMainApp::ExitInstance() {
    CEvents::Use(nullptr);
    m_guard.Uninstall();
    m_instanceMutex.Reset();
    const int nCode = CWinApp::ExitInstance();
    return m_nExitCode >= 0 ? m_nExitCode : nCode;
}
