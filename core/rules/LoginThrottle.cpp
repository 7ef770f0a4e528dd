// The growing wait after wrong passwords.
#include "core/rules/LoginThrottle.h"

#include <algorithm>

int CLoginThrottle::WaitAfter(int nWrong) {
    if (nWrong <= 0) return 0;
    // 1 << 5 is already past the bound: no shift grows beyond it.
    return nWrong > 5 ? kMaxWait : std::min(kMaxWait, 1 << (nWrong - 1));
}

void CLoginThrottle::OnWrong(TIMESECS tNow) {
    ++m_nWrong;
    m_tLastWrong = tNow;
}

void CLoginThrottle::OnRight() { m_nWrong = 0; }

int CLoginThrottle::SecondsLeft(TIMESECS tNow) const {
    const int nWait = WaitAfter(m_nWrong);
    if (nWait == 0) return 0;
    const TIMESECS tPassed = std::max<TIMESECS>(0, tNow - m_tLastWrong);
    return tPassed >= nWait ? 0 : static_cast<int>(nWait - tPassed);
}
