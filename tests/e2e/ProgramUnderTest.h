// The real program, run from a temporary copy of its folder: starts it, finds its windows by
// their control ids, reads its data files, takes screenshots, and stops every process it started.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/seams/Files.h"

// Deletes the files of a folder (named with its trailing backslash) and then the folder.
void RemoveFolder(const std::string& strFolder);

class CProgramUnderTest {
public:
    // Copies the program's files from the build's program folder into a fresh temporary folder.
    CProgramUnderTest();
    // Ends every process running from the temporary folder and removes the folder.
    ~CProgramUnderTest();
    CProgramUnderTest(const CProgramUnderTest&) = delete;
    CProgramUnderTest& operator=(const CProgramUnderTest&) = delete;

    const std::string& Folder() const { return m_strFolder; }
    std::string PathOf(const std::string& strFile) const { return m_strFolder + strFile; }

    // Starts a program of the folder with extra command-line text; returns its process id (0 on failure).
    DWORD Start(const std::string& strExe = "Quenby.exe", const std::string& strArguments = std::string());
    // Waits for a process to end; true with its exit code when it did within the time.
    bool WaitForExit(DWORD nPid, DWORD nMilliseconds, DWORD* pnExitCode = nullptr);
    bool IsRunning(DWORD nPid) const;
    // Process ids of the running programs started from the folder, by file name.
    std::vector<DWORD> FindProcesses(const std::string& strExe) const;
    void Kill(DWORD nPid);

    // How long a program just started may take to show its first window: generous, since the
    // machine may be busy with other lanes' programs and builds.
    static constexpr DWORD kStartBoundMs = 30000;
    // A visible top-level window of a process of the folder that has a child with this control id
    // (0: any top-level window of the process); waits up to the time given.
    HWND WaitForWindow(int nControlId, DWORD nMilliseconds, DWORD nPid = 0) const;
    static std::string TextOf(HWND hWnd);
    static std::string ItemText(HWND hDlg, int nId) { return TextOf(::GetDlgItem(hDlg, nId)); }
    // Clicks a button of a dialog the way the user's click reaches the dialog.
    static void Click(HWND hDlg, int nId);

    // Lets the program's message loops run for a while.
    static void Pause(DWORD nMilliseconds) { ::Sleep(nMilliseconds); }

    // Saves the whole screen as <name>.bmp into the screenshot folder (turned into PNG afterwards).
    void Screenshot(const std::string& strName) const;

    BYTES ReadFile(const std::string& strFile) const;
    bool FileExists(const std::string& strFile) const;

private:
    std::string m_strFolder;
    std::vector<DWORD> m_started;
};
