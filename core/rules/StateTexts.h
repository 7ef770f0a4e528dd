// What the windows show of the child's usage state, each text named for where it goes.
#pragma once

#include <string>

struct STATE_TEXTS {
    std::string strHeadline;     // the status box's first line: what holds now
    std::string strExplanation;  // the same in words: why, or for how long
    std::string strMiniText;     // the mini window's short clock text ("mm:ss" while it has none)
    std::string strStatusLine;   // the status box's second line and the tray tip; empty for none
};
