// The pre-lock notice's rules.
#include "core/rules/NoticeRules.h"

namespace {
// The screen width at which the notice bitmap is drawn at its own size.
constexpr int kScaleBase = 1366;
}  // namespace

int FindWarning(const int (&counts)[4], int nLeadSeconds) {
    for (int i = 0; i < 4; ++i) {
        const int t = counts[i];
        if (t <= 0 || t > nLeadSeconds) continue;
        bool bSmallest = true;
        for (int j = 0; j < 4 && bSmallest; ++j)
            if (j != i && counts[j] > 0 && counts[j] < t) bSmallest = false;
        if (bSmallest) return i;
    }
    return -1;
}

NOTICE_SIZE ScaledNoticeSize(int nScreenWidth, int nBitmapWidth, int nBitmapHeight) {
    const double dScale = static_cast<double>(nScreenWidth) / kScaleBase;
    return NOTICE_SIZE{static_cast<int>(nBitmapWidth * dScale), static_cast<int>(nBitmapHeight * dScale)};
}
