// The soak: many attacks on one child's session of the real program, one after the other, each
// followed by the checks of the safe outcome: back locked, no torn data file, and the day's use
// never lower than before the attack (minus at most the last minute). Prints the figures.
//   soak_driver.exe [kills] [both-kills] [suspensions]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "AttackSupport.h"

namespace {

// The figures of one kind of attack.
struct FIGURES {
    const char* pszName;
    int nRuns = 0, nNotLocked = 0, nSlowLocked = 0, nTorn = 0, nLossOverMinute = 0;
    long nSlowestMs = 0;
    long long nTotalMs = 0;
    int nLargestLoss = 0;  // seconds of use given back, at most
};

class CSoak {
public:
    CSoak() : m_random(20261208) {
        PrepareFamily(m_program, FreeDay());
        m_nPid = m_program.Start();
        LogInAgain();
        DWORD nWaited = 0;
        m_nCompanion = WaitForNewProcess(m_program, "Tessaly.exe", 0, 10000, &nWaited);
    }
    bool Ready() const { return m_hStatus && m_nCompanion; }

    // The program is killed; the companion brings it back.
    void Kill(FIGURES& f) {
        Before();
        const DWORD tAttack = ::GetTickCount();
        m_program.Kill(m_nPid);
        After(f, tAttack, WaitForReplacement(10000));
    }
    // Both processes at once; nothing inside the account brings them back, the next log-on does.
    void KillBoth(FIGURES& f) {
        Before();
        for (DWORD nPid : m_program.FindProcesses("Tessaly.exe")) m_program.Kill(nPid);
        m_program.Kill(m_nPid);
        ::Sleep(Between(200, 2000));
        const DWORD tStart = ::GetTickCount();
        const DWORD nNew = m_program.Start();
        After(f, tStart, nNew);
        DWORD nWaited = 0;
        m_nCompanion = WaitForNewProcess(m_program, "Tessaly.exe", 0, 10000, &nWaited);
    }
    // The program is suspended for 10 to 20 s; the companion ends it after 5 s without a heartbeat.
    void Suspend(FIGURES& f) {
        Before();
        const DWORD nOld = m_nPid;
        const DWORD nLength = Between(10000, 20000);
        const DWORD tAttack = ::GetTickCount();
        SuspendProcess(nOld, true);
        DWORD nNew = 0;
        while (!nNew && ::GetTickCount() - tAttack < nLength) {
            for (DWORD nPid : m_program.FindProcesses("Quenby.exe"))
                if (nPid != nOld) nNew = nPid;
            ::Sleep(20);
        }
        const DWORD tReplaced = ::GetTickCount();
        if (m_program.IsRunning(nOld)) SuspendProcess(nOld, false);
        if (!nNew) nNew = WaitForReplacement(10000);
        // Back locked is measured from the replacement: the 5 s of grace are the attack's.
        After(f, tReplaced, nNew);
    }

private:
    DWORD Between(DWORD a, DWORD b) { return std::uniform_int_distribution<DWORD>(a, b)(m_random); }

    void LogInAgain() { m_hStatus = LogIn(m_program, m_nPid, "kid", std::string(), 20000); }

    // A random moment of the child's session, and the highest use seen so far.
    void Before() {
        ::Sleep(Between(200, 2500));
        m_nHighest = std::max(m_nHighest, UsedSecondsShown(m_hStatus));
    }

    DWORD WaitForReplacement(DWORD nMilliseconds) {
        DWORD nWaited = 0;
        return WaitForNewProcess(m_program, "Quenby.exe", m_nPid, nMilliseconds, &nWaited);
    }

    void After(FIGURES& f, DWORD tSince, DWORD nNew) {
        ++f.nRuns;
        const long nLocked = nNew ? WaitLocked(m_program, nNew, tSince, 20000) : -1;
        if (nLocked < 0) {
            ++f.nNotLocked;
        } else {
            f.nSlowestMs = std::max(f.nSlowestMs, nLocked);
            f.nTotalMs += nLocked;
            if (nLocked > 2000) ++f.nSlowLocked;
        }
        if (!TornFile(m_program).empty()) ++f.nTorn;
        const int nLoss = std::max(0, m_nHighest - StoredUsed(m_program));
        f.nLargestLoss = std::max(f.nLargestLoss, nLoss);
        if (nLoss > 60) ++f.nLossOverMinute;
        if (nNew) m_nPid = nNew;
        LogInAgain();
        ::Sleep(300);
        m_nHighest = std::max(m_nHighest, UsedSecondsShown(m_hStatus));
    }

    CProgramUnderTest m_program;
    std::mt19937 m_random;
    DWORD m_nPid = 0, m_nCompanion = 0;
    HWND m_hStatus = nullptr;
    int m_nHighest = 0;
};

void Print(const FIGURES& f) {
    std::printf("%-12s runs %5d  not back locked %d  locked after more than 2 s %d  torn files %d  "
                "slowest %ld ms  mean %lld ms  largest loss %d s  losses over a minute %d\n",
                f.pszName, f.nRuns, f.nNotLocked, f.nSlowLocked, f.nTorn, f.nSlowestMs,
                f.nRuns ? f.nTotalMs / f.nRuns : 0, f.nLargestLoss, f.nLossOverMinute);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int nKills = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int nBoth = argc > 2 ? std::atoi(argv[2]) : 200;
    const int nSuspensions = argc > 3 ? std::atoi(argv[3]) : 100;
    CSoak soak;
    if (!soak.Ready()) {
        std::printf("the child's session did not start\n");
        return 2;
    }
    FIGURES kills{"kill"}, both{"both"}, suspensions{"suspend"};
    const DWORD tStart = ::GetTickCount();
    for (int i = 0; i < nKills; ++i) {
        soak.Kill(kills);
        if ((i + 1) % 50 == 0) Print(kills);
    }
    for (int i = 0; i < nBoth; ++i) {
        soak.KillBoth(both);
        if ((i + 1) % 10 == 0) Print(both);
    }
    for (int i = 0; i < nSuspensions; ++i) {
        soak.Suspend(suspensions);
        if ((i + 1) % 10 == 0) Print(suspensions);
    }
    std::printf("soak over after %lu s\n", (::GetTickCount() - tStart) / 1000);
    for (const FIGURES* f : {&kills, &both, &suspensions}) Print(*f);
    const bool bSafe = kills.nNotLocked + both.nNotLocked + suspensions.nNotLocked == 0 &&
                       kills.nTorn + both.nTorn + suspensions.nTorn == 0 &&
                       kills.nLossOverMinute + both.nLossOverMinute + suspensions.nLossOverMinute == 0;
    return bSafe ? 0 : 1;
}
