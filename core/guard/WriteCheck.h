// The guard's judgement of each write of a data file, made before it writes: what a child's
// program may change, and what needs the Administrator's proof.
//   parent.nam          the Administrator only
//   protect.nam         the Administrator only (the Windows accounts Quenby is kept running in)
//   child.nam           the Administrator; a child's own notice settings
//   prj.nam             the Administrator; the default week of a child who has none
//   use.sta             a child's use of today never goes down, a record of another date never
//                       replaces today's, no record is dated ahead, no more of the day's total is
//                       left than the arrangement gives, and a running rest never ends faster than
//                       time passes (unless the arrangement changed); only the Administrator
//                       removes a child's record (the account is deleted)
//   extra.tim           extra time granted only by the Administrator; a child's program may only
//                       use it up and count locks
//   programs.lim        the Administrator only (the limits per program)
//   programs.use        a program's minutes and endings of today never go down, no record is
//                       dated ahead; records of days gone may be dropped
//   history.csv         appended only, whole lines of ended days that agree with use.sta (the
//                       header of the days alone may become the one that names the program column)
//   userinfo.aur, winnodes.tmp   the session's own bookkeeping: anyone
// Any other file is refused. A new data file joins with one line in the table of WriteCheck.cpp.
#pragma once

#include <string>
#include <vector>

#include "core/seams/Clock.h"
#include "core/seams/Files.h"

// What the guard knows when it judges a write.
struct WRITE_CONTEXT {
    bool bAdministrator = false;  // a good token came with the write
    std::string strChild;         // the child logged in where the write comes from ("" none)
    TIMESECS tNow = 0;            // the guard's time
    BYTES prj;                    // the guard's record of prj.nam
    BYTES usage;                  // the guard's record of use.sta
};

class CWriteCheck {
public:
    // A record dated this far ahead of the guard's time is refused.
    static constexpr TIMESECS kAheadSecs = 300;
    // Allowance for the program's and the guard's readings of time to differ.
    static constexpr TIMESECS kSlackSecs = 60;

    // Whether the guard takes writes of this file at all.
    static bool IsKnown(const std::string& strFile);
    // Every file the guard takes writes of.
    static std::vector<std::string> Files();
    // "" when the write may be made; otherwise why not, in words for the parent.
    static std::string Check(const std::string& strFile, const BYTES& oldImage, const BYTES& newImage,
                             const WRITE_CONTEXT& context);
};
