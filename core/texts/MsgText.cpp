// The text table. Identifiers are sparse; several share a wording. Texts are kept byte for byte,
// their spelling included, because other windows compare and lay them out as they stand.
#include "core/texts/MsgText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

struct MSG_ENTRY {
    unsigned nId;
    const char* pszEnglish;
};

// Sorted by identifier, so a lookup is a binary search.
const MSG_ENTRY g_entries[] = {
    {102, "The password you entered is incorrect."},
    {103, "Wrong password"},
    {106, "The screen is locked. Please Login."},
    {108, "Account:"},
    {110, "Password:"},
    {112, "Prohibit the use of this computer"},
    {114, "Free use of this computer"},
    {116, "Use no more than %s all day"},
    {118, "Rest %s every %s"},
    {120, "Use between %.2d:%.2d to %.2d:%.2d"},
    {122, "Days"},
    {124, "Arragements"},
    {126, "Sunday"},
    {128, "Monday"},
    {130, "Tuesday"},
    {132, "Wednesday"},
    {134, "Thursday"},
    {136, "Friday"},
    {138, "Saturday"},
    {142, "Save"},
    {144, "Not set yet"},
    {146, "Computer are allowed now"},
    {154, "Computer are prohibited now"},
    {156, "Run out of permitted time for today"},
    {158, "According to the settings, Computer are prohibited today"},
    {160, "Computer are prohibited at present"},
    {162, "Only between %.2d:%.2d to %.2d:%.2d can Computer be used"},
    {166, "Have rest for more than %d minutes"},
    {168, "Computer has been locked"},
    {169, "Click the button \"Start to use\" to unlock"},
    {170, "New day arrives"},
    {174, "Permission periods arrived"},
    {178, "Start to use"},
    {180, "Take a rest"},
    {182, "Settings"},
    {184, "Select at least one of the three \r\nrestricted using options."},
    {186, "The start time of permission periods \r\nshould be before the end time."},
    {188, "The total permitted time \r\n should be greater than 0."},
    {190, "Screen will be locked after %s"},
    {198, "Name"},
    {200, "Description"},
    {202, "Administrator can set ordinary users' PC time"},
    {204, "The ordinary users with restricted PC time"},
    {206, "New Password:"},
    {207, "Administrator's password:"},
    {208, "Comfirm the password:"},
    {210, "The two inputted passwords do not match, \r\nplease re-enter the password."},
    {211, "Password Changing failed"},
    {214, "Auto run while start up"},
    {216, "Login"},
    {218, "Turn Off"},
    {220, "Switch user"},
    {226, "%s left to lock (Run out of the total PC time)"},
    {227, "%.2d:%.2d left to lock (Run out of total PC time)"},
    {228, "about %s later to lock (for mandatory rest)"},
    {229, "%.2d:%.2d left to lock (for mandatory rest)"},
    {230, "about %s later to lock (new day arrives)"},
    {231, "%.2d:%.2d left to lock (new day arrives)"},
    {232, "about %s later to lock (for Beyond period)"},
    {233, "%.2d:%.2d left to lock (exceed approved period)"},
    {234, "More than %s to lock the screen"},
    {236, "Locked for mandatory rest"},
    {237, "unlock after about %s"},
    {238, "unlock after %.2d:%.2d"},
    {244, "Wrong Settings"},
    {246, "Account %s already exists!"},
    {247, "Failed to create a new account"},
    {249, "Today total used %.2d:%.2d:%.2d "},
    {250, "mm:ss"},
    {252, "%.2d:%.2d"},
    {254, "mm:ss"},
    {256, "Click to close"},
    {258, "Double click to show the main window"},
    {260, "Show the mini window"},
    {262, "Current status"},
    {264, "Today's Settings"},
    {268, "User "},
    {274, "Please reasonably allocate your time on Computer. Don't sit for a long time. This will help to maintain health."},
    {276, "Young users are recommended to rest 5 minutes at least every 20 minutes. Don't spend too much time on Computer."},
    {278, "Adult users are recommended to rest 10 minutes every 50 minutes."},
    {294, "Settings"},
    {296, "WelCome"},
    {298, "The Administrator account is the account that parents should use to login, use this account parents can create or delete children's accounts and modify the time management for children. KEEP THIS PASSWORD IN A SAFE PLACE."},
    {300, "Account editor"},
    {304, "Add new account"},
    {306, "Delete the account"},
    {308, "Change password"},
    {310, "Setting"},
    {312, "Start option"},
    {314, "Words notice"},
    {315, "Notify users in advance"},
    {316, "seconds before locking"},
    {318, "background"},
    {320, "Show semitransparent background when locking"},
    {322, "Show opaque background when locking"},
    {324, "Add new account"},
    {326, "Name:"},
    {328, "Password:"},
    {330, "%s's password"},
    {342, "Switch User"},
    {344, "Accounts"},
    {346, "Options"},
    {350, "About"},
    {352, "Select the user:"},
    {354, "Select the day:"},
    {356, "Free to use"},
    {358, "Forbid to use"},
    {360, "Conditional usage"},
    {362, "Every"},
    {364, "minutes rest"},
    {366, "minute(s)"},
    {368, "Total time spending on computer is less than"},
    {370, "hour(s)"},
    {372, "Permitted time to use computer are between"},
    {374, "to"},
    {376, "Turn off computer"},
    {380, "Restart computer"},
    {382, "Cancel"},
    {386, "Time arragements(view only)"},
    {388, "Sound notice"},
    {390, "Use alert sound to notify users before locking"},
    {392, "Words notice can not be shown when playing some full screen games, please choose sound notice in that case."},
    // Texts of the safety measures: empty Administrator password, failed saves, a damaged
    // Administrator record, the wait after a wrong password, the event list, the child's usage
    // not saved.
    {400, "The Administrator password cannot be empty.\r\nPlease choose a password that the children do not know."},
    {402, "Quenby could not save %s.\r\nThe change stays in effect while Quenby runs and is saved again at the next change.\r\nCheck that the disk is not full and that the file is not read-only."},
    {403, "Save failed"},
    {404, "The Administrator account is damaged: nobody can log in as Administrator.\r\nChildren can still log in. To recover, see \"If the Administrator password is lost\" in the guide."},
    {405, "Administrator account damaged"},
    {406, "Wrong password. Next try in %d s."},
    {408, "Events since your last login"},
    {410, "The next try is taken in %d s. Please wait."},
    {412, "The Administrator account is damaged."},
    {414, "Today's use could not be saved; trying again."},
    {416, "History"},
    {418, "Save for..."},
    {420, "The arrangements could not be written to the disk."},
    {422, "Programs"},
};

const char* const g_pszUnknown = "Error! check program";

const char* MsgTextOf(unsigned nId) {
    const auto* pEnd = std::end(g_entries);
    const auto* p = std::lower_bound(std::begin(g_entries), pEnd, nId,
                                     [](const MSG_ENTRY& entry, unsigned n) { return entry.nId < n; });
    return p != pEnd && p->nId == nId ? p->pszEnglish : g_pszUnknown;
}

}  // namespace

std::string GetMsgText(unsigned nId, int /*nLanguage*/) { return MsgTextOf(nId); }

std::string FormatMsgText(unsigned nId, ...) {
    const char* pszFormat = MsgTextOf(nId);
    va_list args;
    va_start(args, nId);
    va_list argsCopy;
    va_copy(argsCopy, args);
    // Status texts are short: one pass into the stack buffer, a second only for a long text.
    char szBuffer[256];
    const int nLength = std::vsnprintf(szBuffer, sizeof szBuffer, pszFormat, args);
    va_end(args);
    std::string strText;
    if (nLength > 0 && static_cast<std::size_t>(nLength) < sizeof szBuffer) {
        strText.assign(szBuffer, static_cast<std::size_t>(nLength));
    } else if (nLength > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(nLength) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pszFormat, argsCopy);
        strText.assign(buffer.data(), static_cast<std::size_t>(nLength));
    }
    va_end(argsCopy);
    return strText;
}
