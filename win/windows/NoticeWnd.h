// The pre-lock notice: a large red line, half transparent in the middle of the screen, that warns
// the child that the screen locks within the lead time; optionally with the alert sound, faster in
// the last ten seconds. It never takes the mouse and has no taskbar button. The same line tells of
// a program about to be closed by its rule, or just closed or ended (then without a sound).
#pragma once

#include <string>

#include "core/rules/LockCountdown.h"
#include "win/controls/GdiObject.h"
#include "win/framework/Dialog.h"

class CUsageContext;

class CNoticeWnd : public CDialog {
public:
    using SETLAYERED = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

    static constexpr BYTE kShownAlpha = 160;
    static constexpr UINT_PTR kSlowTimer = 1;  // every 1,000 ms
    static constexpr UINT_PTR kFastTimer = 2;  // every 300 ms
    static constexpr const char* kSoundFile = "alert.wav";

    CNoticeWnd();
    ~CNoticeWnd() override;

    // Creates the hidden window with the desktop as its parent.
    BOOL Create();

    void SetLeadSeconds(int nSeconds) { m_nLeadSeconds = nSeconds; }
    void SetSound(int bSound) { m_bSound = bSound; }
    // Recomputes the four counts (total, rest, new day, period) from the context and now.
    void Update(const CUsageContext& context);
    // A program's notice, its text whole, with the seconds it counts down (0 for a program just
    // closed or ended); an empty text for none.
    void SetProgramNotice(const std::string& strText, int nSeconds);
    // Shows the warning when a count is within the lead time (only while bLockWarnings, that is
    // while the computer is in use), or the program's notice when it comes sooner; else hides it.
    void Refresh(bool bLockWarnings = true);
    // Fully transparent again; the sound stops.
    void Hide();

    bool IsShown() const { return m_bShown != 0; }
    bool IsBeepSlow() const { return m_bBeepSlow != 0; }
    bool IsBeepFast() const { return m_bBeepFast != 0; }
    const std::string& GetText() const { return m_strText; }
    int GetLeadSeconds() const { return m_nLeadSeconds; }
    int GetSound() const { return m_bSound; }
    BYTE GetAlpha() const { return m_nAlphaNow; }

protected:
    BOOL OnInitDialog() override;
    bool OnTimer(UINT_PTR nId) override;
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC) override { return true; }
    void OnOK() override {}
    void OnCancel() override {}
    void OnDestroy() override;

private:
    void Place();
    void SetAlpha(BYTE nAlpha);
    void PlayAlert() const;

    std::string m_templates[4];
    std::string m_strText;
    int m_nLeadSeconds = 30;
    bool m_bSound = true;
    CLockCountdown m_countdown;
    int m_counts[4] = {-1, -1, -1, -1};
    std::string m_strProgramText;
    int m_nProgramSeconds = -1;
    bool m_bShown = false;
    bool m_bBeepSlow = false;
    bool m_bBeepFast = false;
    BYTE m_nAlpha = kShownAlpha;
    BYTE m_nAlphaNow = 0;
    CGdiObject<HFONT> m_font;
    CGdiObject<HBITMAP> m_background;
    int m_nBitmapWidth = 847;
    int m_nBitmapHeight = 60;
    HMODULE m_hUser32 = nullptr;
    SETLAYERED m_pfnSetLayered = nullptr;
};
