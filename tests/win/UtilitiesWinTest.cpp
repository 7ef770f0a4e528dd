// The Win32 helpers: the auto-run value in the test prefix's registry, foreground forcing through
// a recording seam, and the gradient line drawn into a bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <vector>

#include "core/seams/SystemActions.h"
#include "platform/win32/ModulePath.h"
#include "win/controls/WinUtilities.h"
#include "win/windows/AutoRun.h"

namespace {

// Records the keys and foreground lock changes asked for; everything else goes to the real actions.
class CRecordingActions final : public ISystemActions {
public:
    CRecordingActions() { CSystem::Use(this); }
    ~CRecordingActions() override { CSystem::Use(nullptr); }

    bool SetLocalTime(const CLocalTime&) override { return false; }
    bool OpenProcessToken() override { return false; }
    bool AdjustShutdownPrivilege() override { return false; }
    bool ExitSystem(unsigned) override { return false; }
    bool StartProcess(const std::string&, const std::string&) override { return false; }
    long WriteRunValue(const std::string& n, const std::string& d) override { return Real().WriteRunValue(n, d); }
    long ReadRunValue(const std::string& n, std::string& d) override { return Real().ReadRunValue(n, d); }
    long DeleteRunValue(const std::string& n) override { return Real().DeleteRunValue(n); }
    void SendKey(unsigned char nKey, bool bRelease) override {
        m_calls.push_back((bRelease ? "release " : "press ") + std::to_string(nKey));
    }
    unsigned long GetForegroundLockTimeout() override {
        m_calls.push_back("get timeout");
        return 200000;
    }
    void SetForegroundLockTimeout(unsigned long n) override { m_calls.push_back("set timeout " + std::to_string(n)); }

    std::vector<std::string> m_calls;

private:
    static ISystemActions& Real() { return RealSystemActions(); }
};

HWND MakeWindow() {
    return ::CreateWindowExA(0, "STATIC", "quenby test", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

// The Run value as the registry holds it, or "(none)".
std::string RunValue() {
    std::string strData;
    return RealSystemActions().ReadRunValue(GetRunValueName(), strData) == ERROR_SUCCESS ? strData : "(none)";
}

std::string RunOnceValue() {
    char szData[MAX_PATH * 2] = {};
    DWORD nSize = sizeof szData;
    return ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "*Quenby",
                          RRF_RT_REG_SZ, nullptr, szData, &nSize) == ERROR_SUCCESS
               ? szData
               : "(none)";
}

// A thread that puts a window of its own in front and keeps it until told to stop.
struct CForegroundThread {
    HANDLE hReady, hDone;
    HWND hWnd;
};

DWORD WINAPI ForegroundThread(LPVOID p) {
    auto* pData = static_cast<CForegroundThread*>(p);
    pData->hWnd = MakeWindow();
    ::SetForegroundWindow(pData->hWnd);
    ::SetEvent(pData->hReady);
    while (::MsgWaitForMultipleObjects(1, &pData->hDone, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    ::DestroyWindow(pData->hWnd);
    return 0;
}

}  // namespace

TEST(WinAutoRun, TheValueNamesTheProgramFileWhateverTheCurrentDirectory) {
    EXPECT_EQ(GetRunValueName(), "win_tests");
    RemoveAutoRun();
    EXPECT_EQ(IsAutoRun(), 0);

    EXPECT_EQ(SetAutoRun(), 0);
    EXPECT_EQ(RunValue(), GetModulePath());
    EXPECT_EQ(IsAutoRun(), 1);

    // Another current directory changes nothing: the value is the program file's own path.
    char szOld[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, szOld);
    ASSERT_TRUE(::SetCurrentDirectoryA(std::filesystem::temp_directory_path().string().c_str()));
    EXPECT_EQ(IsAutoRun(), 1);
    EXPECT_EQ(SetAutoRun(), 0);
    EXPECT_EQ(RunValue(), GetModulePath());
    ::SetCurrentDirectoryA(szOld);

    EXPECT_EQ(RemoveAutoRun(), 0);
    EXPECT_EQ(RunValue(), "(none)");
    EXPECT_EQ(IsAutoRun(), 0);
}

TEST(WinAutoRun, TheStartWithWindowsIsWrittenAndRemovedAsOne) {
    ASSERT_EQ(AlignAutoRun(true), 0);
    EXPECT_EQ(RunValue(), GetModulePath());
    const std::string strQuietStart = std::string(1, '"').append(GetModulePath()).append("\" *mute*");
    EXPECT_EQ(RunOnceValue(), strQuietStart) << "run in Safe Mode too, and quietly";
    EXPECT_EQ(AlignAutoRun(true), 0) << "again, with nothing to change";
    ASSERT_EQ(AlignAutoRun(false), 0);
    EXPECT_EQ(RunValue(), "(none)");
    EXPECT_EQ(RunOnceValue(), "(none)") << "nothing is left to start the program";
    EXPECT_EQ(AlignAutoRun(false), 0) << "nothing to remove is no failure";
}

TEST(WinAutoRun, AValueNamingAnythingElseIsNotAutoRun) {
    ISystemActions& real = RealSystemActions();
    std::string strOther = GetModulePath();
    strOther.back() = strOther.back() == 'e' ? 'E' : 'e';  // differs in case only
    for (const std::string& strData : {std::string(" "), std::string(), strOther,
                                       std::string("C:\\elsewhere\\win_tests.exe")}) {
        ASSERT_EQ(real.WriteRunValue(GetRunValueName(), strData), 0);
        EXPECT_EQ(IsAutoRun(), 0) << '"' << strData << '"';
    }
    RemoveAutoRun();
}

TEST(WinForeground, AltIsPressedAndReleasedAroundTheSwitch) {
    CRecordingActions actions;
    HWND hWnd = MakeWindow();
    ASSERT_NE(hWnd, nullptr);
    ForceForegroundByAlt(hWnd);
    const std::vector<std::string> expected = {"press 18", "release 18"};
    EXPECT_EQ(actions.m_calls, expected);
    EXPECT_EQ(::GetForegroundWindow(), hWnd);
    ::DestroyWindow(hWnd);

    // A window that is gone is left alone.
    actions.m_calls.clear();
    ForceForegroundByAlt(hWnd);
    ForceForegroundByAttach(hWnd);
    EXPECT_TRUE(actions.m_calls.empty());
}

TEST(WinForeground, AttachLiftsTheLockOnlyForAnotherThreadsForegroundAndPutsItBack) {
    CRecordingActions actions;
    HWND hOwn = MakeWindow();
    HWND hMine = MakeWindow();
    ASSERT_TRUE(hOwn && hMine);
    ::SetForegroundWindow(hOwn);
    ForceForegroundByAttach(hMine);
    EXPECT_TRUE(actions.m_calls.empty());  // the foreground was this thread's own
    EXPECT_EQ(::GetForegroundWindow(), hMine);

    // A window of another thread in front: the time-out is set to 0 and back to what it was.
    HANDLE hReady = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CForegroundThread data{hReady, hDone, nullptr};
    HANDLE hThread = ::CreateThread(nullptr, 0, ForegroundThread, &data, 0, nullptr);
    ASSERT_EQ(::WaitForSingleObject(hReady, 5000), WAIT_OBJECT_0);
    if (::GetForegroundWindow() == data.hWnd) {
        ForceForegroundByAttach(hMine);
        const std::vector<std::string> expected = {"get timeout", "set timeout 0", "set timeout 200000"};
        // Which window Wine then reports in front after the input is detached again differs from
        // Windows (without a window manager it reports none), so only the seam's calls are checked.
        EXPECT_EQ(actions.m_calls, expected);
    } else {
        ADD_FAILURE() << "the other thread's window did not come to the foreground";
    }
    ::SetEvent(hDone);
    ::WaitForSingleObject(hThread, 5000);
    ::CloseHandle(hThread);
    ::CloseHandle(hReady);
    ::CloseHandle(hDone);
    ::DestroyWindow(hOwn);
    ::DestroyWindow(hMine);
}

namespace {

// A white 32-bit bitmap in a memory device context; pixels read back as COLORREF.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight) : m_nWidth(nWidth) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = nWidth;
        bmi.bmiHeader.biHeight = -nHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        for (int i = 0; i < nWidth * nHeight; ++i) m_pBits[i] = 0xFFFFFF;
    }
    ~CCanvas() {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    HDC DC() const { return m_hDC; }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const DWORD n = m_pBits[y * m_nWidth + x];
        return RGB((n >> 16) & 0xFF, (n >> 8) & 0xFF, n & 0xFF);
    }

private:
    int m_nWidth;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};

}  // namespace

TEST(WinGradientLine, ColourRunsFromTheFirstTowardsTheSecond) {
    CCanvas canvas(20, 3);
    HGDIOBJ hPenBefore = ::GetCurrentObject(canvas.DC(), OBJ_PEN);
    DrawGradientLine(canvas.DC(), 2, 1, 12, RGB(0, 0, 0), RGB(200, 100, 50), 1);
    EXPECT_EQ(::GetCurrentObject(canvas.DC(), OBJ_PEN), hPenBefore);  // the previous pen is back
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(2, 1), RGB(0, 0, 0));
    // Each step adds a tenth of the difference, truncated.
    EXPECT_EQ(canvas.At(3, 1), RGB(20, 10, 5));
    EXPECT_EQ(canvas.At(9, 1), RGB(140, 70, 35));
    EXPECT_EQ(canvas.At(10, 1), RGB(160, 80, 40));
    EXPECT_EQ(canvas.At(12, 1), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 2), RGB(255, 255, 255));
}

TEST(WinGradientLine, NoRoomDrawsNothing) {
    for (int x2 : {5, 4, 0}) {  // one pixel apart, none, backwards
        CCanvas canvas(8, 3);
        DrawGradientLine(canvas.DC(), 4, 1, x2, RGB(0, 0, 0), RGB(0, 0, 0), 1);
        for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.At(x, 1), RGB(255, 255, 255)) << "x2 " << x2 << " x " << x;
    }
}
