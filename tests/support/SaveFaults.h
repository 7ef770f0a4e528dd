// Every way a save can fail inside the real file calls, for tests that check what a failed save
// leaves behind: a write cut short after each byte of the image, the flush, the close and the move
// that puts the new file in place.
#pragma once

#include <functional>
#include <string>

#include "support/FailingFiles.h"

// Runs the check after each failure injected into a save of an image of nSize bytes; the check
// gets a text naming the failure, for its messages.
inline void ForEachSaveFault(CFailingFiles& failing, std::size_t nSize,
                             const std::function<void(const std::string& strFault)>& check) {
    for (std::size_t n = 0; n < nSize; ++n) {
        failing.Fail(CFailingFiles::kWrite, static_cast<long long>(n));
        check("write cut after " + std::to_string(n) + " bytes");
    }
    for (auto [fault, pszName] : {std::pair{CFailingFiles::kFlush, "flush"}, {CFailingFiles::kClose, "close"},
                                  {CFailingFiles::kReplace, "replacing move"}}) {
        failing.Fail(fault);
        check(std::string(pszName) + " failed");
    }
    failing.Fail(CFailingFiles::kNoFault);
}
