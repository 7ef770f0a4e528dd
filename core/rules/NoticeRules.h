// The pre-lock notice's rules, apart from its window: which count warns, and how large the notice
// is drawn on a screen of a given width.
#pragma once

// The count that warns: 0 total, 1 rest, 2 new day, 3 period; -1 for none. A count qualifies
// when 0 < t <= lead and no other count is smaller (and positive); the earlier one wins a tie.
int FindWarning(const int (&counts)[4], int nLeadSeconds);

struct NOTICE_SIZE {
    int cx;
    int cy;
};

// The notice's size on a screen nScreenWidth wide: the bitmap scaled by width / 1366 on both
// sides, so the picture keeps its proportions.
NOTICE_SIZE ScaledNoticeSize(int nScreenWidth, int nBitmapWidth, int nBitmapHeight);
