// The growing wait after wrong passwords at the lock screen: after the n-th wrong password in a
// row the next try is taken only 1, 2, 4 ... seconds later, at most 30. A right password starts
// the count again. Times come from the caller (the clock seam), and a clock turned back cannot
// make the wait longer than its length.
#pragma once

#include "core/seams/Clock.h"

class CLoginThrottle {
public:
    static constexpr int kMaxWait = 30;

    // The wait after this many wrong passwords in a row (0 for none).
    static int WaitAfter(int nWrong);

    void OnWrong(TIMESECS tNow);
    void OnRight();
    // Seconds until the next try is taken; 0 when it is taken now.
    int SecondsLeft(TIMESECS tNow) const;
    int WrongInARow() const { return m_nWrong; }

private:
    int m_nWrong = 0;
    TIMESECS m_tLastWrong = 0;
};
