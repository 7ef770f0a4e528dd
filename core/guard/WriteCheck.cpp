// The rules of each data file's writes.
#include "core/guard/WriteCheck.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <vector>

#include "core/rules/ExtraTime.h"
#include "core/rules/UsageContext.h"
#include "core/rules/UsageState.h"
#include "core/store/ActiveUserList.h"
#include "core/store/AdminAccount.h"
#include "core/store/ChildAccountList.h"
#include "core/store/ExtraTimeStore.h"
#include "core/store/HiddenWindowList.h"
#include "core/store/HistoryFile.h"
#include "core/store/PrjStore.h"
#include "core/store/ProgramRuleStore.h"
#include "core/store/ProgramUseStore.h"
#include "core/store/ProtectedAccounts.h"
#include "core/store/RecordField.h"
#include "core/store/RecordWriter.h"
#include "core/store/UsageStore.h"

namespace {

using RULE = std::string (*)(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context);

std::string Anyone(const BYTES&, const BYTES&, const WRITE_CONTEXT&) { return {}; }

std::string AdministratorOnly(const BYTES&, const BYTES&, const WRITE_CONTEXT& context) {
    return context.bAdministrator ? std::string() : "only the Administrator may change it";
}

// child.nam: without the Administrator, only the notice lead and the sound of the child logged in
// where the write comes from may change (the child's own notice settings).
std::string ChildNoticesOnly(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context) {
    if (context.bAdministrator) return {};
    if (oldImage.size() != newImage.size()) return "only the Administrator may add or remove accounts";
    constexpr std::size_t kNotices = offsetof(CHILD_ACCOUNT, nNoticeSeconds);
    for (std::size_t nAt = 0; nAt < oldImage.size(); nAt += CChildAccountList::kRecordSize) {
        if (!std::equal(oldImage.begin() + nAt, oldImage.begin() + nAt + kNotices, newImage.begin() + nAt))
            return "only the Administrator may change names and passwords";
        const bool bNoticesChanged = !std::equal(oldImage.begin() + nAt + kNotices,
                                                 oldImage.begin() + nAt + CChildAccountList::kRecordSize,
                                                 newImage.begin() + nAt + kNotices);
        if (bNoticesChanged && (context.strChild.empty() ||
                                ReadField(oldImage.data() + nAt, 128) != FieldText(context.strChild, 128)))
            return "a child may change only the child's own notice settings";
    }
    return {};
}

BYTES DefaultDays() {
    CRecordWriter writer;
    for (int nDay = 0; nDay < 7; ++nDay) CDayPrj().WriteRecord(writer);
    return writer.Bytes();
}

// prj.nam: without the Administrator, only weeks of the default arrangement may be added for
// children who have none (a login finds its week missing).
std::string NewDefaultWeeksOnly(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context) {
    if (context.bAdministrator) return {};
    if (newImage.size() < oldImage.size() || !std::equal(oldImage.begin(), oldImage.end(), newImage.begin()))
        return "only the Administrator may change the arrangements";
    const BYTES defaults = DefaultDays();
    const std::list<CUserPrj> oldWeeks = CPrjStore::Parse(oldImage);
    for (std::size_t nAt = oldImage.size(); nAt < newImage.size(); nAt += CUserPrj::BLOCK_SIZE) {
        const std::string strName = ReadField(newImage.data() + nAt, CUserPrj::NAME_SIZE);
        const bool bHadWeek = std::any_of(oldWeeks.begin(), oldWeeks.end(),
                                          [&strName](const CUserPrj& week) { return week.m_strUser == strName; });
        if (bHadWeek || !std::equal(defaults.begin(), defaults.end(), newImage.begin() + nAt + CUserPrj::NAME_SIZE))
            return "only the Administrator may change the arrangements";
    }
    return {};
}

// The guard's arrangement of the child's day at tNow, when the guard has one.
bool TodayOf(const WRITE_CONTEXT& context, const std::string& strUser, CDayPrj& day) {
    for (const CUserPrj& week : CPrjStore::Parse(context.prj)) {
        if (week.m_strUser != strUser) continue;
        day = week.m_days[CClock::ToLocal(context.tNow).nWeekday];
        return true;
    }
    return false;
}

// Whether the day copied into a record is still the arrangement in force, as the program judges it.
bool IsInForce(const USAGE_RECORD& record, const CDayPrj& day) { return CUsageContext::IsSameArrangement(record.prjCopy, day); }

std::string DayLeftCheck(const USAGE_RECORD& record, const WRITE_CONTEXT& context) {
    CDayPrj day;
    if (!TodayOf(context, record.strUser, day) || !IsInForce(record, day)) return {};
    if (day.m_bTotalLimit == 1 &&
        record.nTotalSecsLeft > std::max(0, CUsageContext::TotalAllowance(day) - record.nUsedSecs) + CWriteCheck::kSlackSecs)
        return "more of " + record.strUser + "'s total of today would be left than the arrangement gives";
    if (day.m_bRest == 1 && (record.nUseSecsBeforeRest > day.m_nRestEvery * 60 ||
                             record.nRestSecsLeft > day.m_nRestMinutes * 60))
        return record.strUser + "'s rest counters would be beyond the arrangement";
    return {};
}

// A rest that was running at the last record ends only as time passes (or the arrangement changed).
std::string RestCheck(const USAGE_RECORD& before, const USAGE_RECORD& after, const WRITE_CONTEXT& context) {
    if (before.nStateId != STATE_FORCED_REST || before.nRestSecsLeft <= 0) return {};
    CDayPrj day;
    if (!TodayOf(context, before.strUser, day) || !IsInForce(before, day)) return {};
    const TIMESECS nStillDue = before.nRestSecsLeft - (context.tNow - before.tLastSave) - CWriteCheck::kSlackSecs;
    if (nStillDue <= 0) return {};
    if (after.nStateId != STATE_FORCED_REST || after.nRestSecsLeft < nStillDue)
        return before.strUser + "'s rest would end " + std::to_string(nStillDue) + " s early";
    return {};
}

std::string UseNeverGoesDown(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context) {
    const std::list<USAGE_RECORD> before = CUsageStore::Parse(oldImage);
    const std::list<USAGE_RECORD> after = CUsageStore::Parse(newImage);
    for (const USAGE_RECORD& record : after)
        if (record.tLastSave > context.tNow + CWriteCheck::kAheadSecs)
            return record.strUser + "'s record would be dated ahead of the clock";
    for (const USAGE_RECORD& old : before) {
        if (!CClock::IsSameDate(old.tLastSave, context.tNow)) continue;
        const auto it = std::find_if(after.begin(), after.end(),
                                     [&old](const USAGE_RECORD& record) { return record.strUser == old.strUser; });
        if (it == after.end()) {
            if (context.bAdministrator) continue;  // the account was deleted
            return old.strUser + "'s use of today would be dropped";
        }
        if (!CClock::IsSameDate(it->tLastSave, context.tNow))
            return "a record of another date would replace " + old.strUser + "'s use of today";
        if (it->nUsedSecs < old.nUsedSecs)
            return old.strUser + "'s use of today would go down from " + std::to_string(old.nUsedSecs) + " s to " +
                   std::to_string(it->nUsedSecs) + " s";
        if (std::string strWhy = RestCheck(old, *it, context); !strWhy.empty()) return strWhy;
    }
    for (const USAGE_RECORD& record : after)
        if (CClock::IsSameDate(record.tLastSave, context.tNow))
            if (std::string strWhy = DayLeftCheck(record, context); !strWhy.empty()) return strWhy;
    return {};
}

// extra.tim: granting is the Administrator's; a child's program only uses the time up and counts locks.
std::string NoGrantWithoutAdministrator(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context) {
    const std::list<EXTRA_RECORD> before = CExtraTimeStore::Parse(oldImage);
    const int nToday = DateKey(context.tNow);
    for (const EXTRA_RECORD& record : CExtraTimeStore::Parse(newImage)) {
        if (record.nGrantedSecs < 0 || record.nExtraSecsLeft < 0 || record.nExtraSecsLeft > record.nGrantedSecs)
            return record.strUser + "'s extra time would not add up";
        if (context.bAdministrator) continue;
        const std::string strName = FieldText(record.strUser, CExtraTimeStore::kNameSize);
        const auto it = std::find_if(before.begin(), before.end(), [&strName](const EXTRA_RECORD& old) {
            return FieldText(old.strUser, CExtraTimeStore::kNameSize) == strName;
        });
        if (it != before.end() && it->nDate == nToday && record.nDate != nToday)
            return "a record of another date would replace " + record.strUser + "'s extra time of today";
        const bool bSameDay = it != before.end() && it->nDate == record.nDate;
        if (record.nGrantedSecs > (bSameDay ? it->nGrantedSecs : 0) ||
            record.nExtraSecsLeft > (bSameDay ? it->nExtraSecsLeft : 0))
            return "only the Administrator may grant " + record.strUser + " extra time";
    }
    return {};
}

// programs.use: a program's minutes and endings of today never go down, and no record is dated
// ahead; records of days gone may be dropped (their lines are in the history).
std::string ProgramUseNeverGoesDown(const BYTES& oldImage, const BYTES& newImage, const WRITE_CONTEXT& context) {
    const std::list<PROGRAM_USE> after = CProgramUseStore::Parse(newImage);
    const int nAhead = DateKey(context.tNow + CWriteCheck::kAheadSecs);
    for (const PROGRAM_USE& record : after)
        if (record.nDate > nAhead) return record.strUser + "'s record of " + record.strProgram + " would be dated ahead of the clock";
    const int nToday = DateKey(context.tNow);
    for (const PROGRAM_USE& old : CProgramUseStore::Parse(oldImage)) {
        if (old.nDate != nToday) continue;
        const auto it = std::find_if(after.begin(), after.end(),
                                     [&old](const PROGRAM_USE& record) { return CProgramUseStore::IsSameKey(record, old); });
        if (it == after.end()) {
            if (context.bAdministrator) continue;  // the account was deleted
            return old.strUser + "'s minutes of today in " + old.strProgram + " would be dropped";
        }
        if (it->nUsedSecs < old.nUsedSecs || it->nEndings < old.nEndings)
            return old.strUser + "'s minutes of today in " + old.strProgram + " would go down";
    }
    return {};
}

// The lines of a history.csv text that are days, in order.
std::vector<HISTORY_LINE> DayLines(const std::string& strText, bool& bOnlyDays) {
    std::vector<HISTORY_LINE> lines;
    bOnlyDays = true;
    std::size_t nFrom = 0;
    while (nFrom < strText.size()) {
        const std::size_t nEnd = std::min(strText.find('\n', nFrom), strText.size());
        std::string strLine = strText.substr(nFrom, nEnd - nFrom);
        nFrom = nEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
        HISTORY_LINE line;
        if (CHistoryFile::Parse(strLine, line))
            lines.push_back(line);
        else if (!strLine.empty() && strLine != CHistoryFile::kHeader && strLine != CHistoryFile::kProgramHeader)
            bOnlyDays = false;
    }
    return lines;
}

// The old image as the program writes it on: its first program's line turns a header of the days
// alone into the header that names the program column; nothing else of the old image changes.
BYTES WithProgramHeader(const BYTES& oldImage, const BYTES& newImage) {
    const std::string strDays = std::string(CHistoryFile::kHeader) + "\r\n";
    const std::string strPrograms = std::string(CHistoryFile::kProgramHeader) + "\r\n";
    const auto StartsWith = [](const BYTES& image, const std::string& str) {
        return image.size() >= str.size() && std::equal(str.begin(), str.end(), image.begin());
    };
    if (!StartsWith(oldImage, strDays) || !StartsWith(newImage, strPrograms)) return oldImage;
    BYTES image(strPrograms.begin(), strPrograms.end());
    image.insert(image.end(), oldImage.begin() + static_cast<std::ptrdiff_t>(strDays.size()), oldImage.end());
    return image;
}

// history.csv: whole lines added at the end, each a day that has ended, not in the file yet, and
// (a child's day) with no fewer minutes than use.sta counted for it.
std::string AppendedLinesOnly(const BYTES& oldWritten, const BYTES& newImage, const WRITE_CONTEXT& context) {
    const BYTES oldImage = WithProgramHeader(oldWritten, newImage);
    if (newImage.size() < oldImage.size() || !std::equal(oldImage.begin(), oldImage.end(), newImage.begin()))
        return "history.csv may only be added to";
    const std::string strAdded(newImage.begin() + static_cast<std::ptrdiff_t>(oldImage.size()), newImage.end());
    if (!strAdded.empty() && strAdded.back() != '\n') return "history.csv may only be added to in whole lines";
    bool bOnlyDays = true;
    std::vector<HISTORY_LINE> known = DayLines(std::string(oldImage.begin(), oldImage.end()), bOnlyDays);
    const std::vector<HISTORY_LINE> added = DayLines(strAdded, bOnlyDays);
    if (!bOnlyDays) return "history.csv would get a line that is not a day's";
    const int nToday = DateKey(context.tNow);
    const std::list<USAGE_RECORD> usage = CUsageStore::Parse(context.usage);
    for (const HISTORY_LINE& line : added) {
        if (line.nDate >= nToday) return "history.csv would get a line of a day that has not ended";
        if (std::any_of(known.begin(), known.end(), [&line](const HISTORY_LINE& other) {
                return other.nDate == line.nDate && other.strUser == line.strUser && other.strProgram == line.strProgram;
            }))
            return "history.csv would get a second line for " + line.strUser + "'s day";
        for (const USAGE_RECORD& record : usage)
            if (line.strProgram.empty() && record.strUser == line.strUser && DateKey(record.tLastSave) == line.nDate &&
                line.nUsedMinutes < record.nUsedSecs / 60)
                return "history.csv would show fewer minutes than " + line.strUser + " used";
        known.push_back(line);
    }
    return {};
}

struct FILE_RULE {
    const char* pszFile;
    std::size_t nRecordSize;  // the image is a whole number of these
    bool bMayBeEmpty;
    RULE pfnRule;
    std::size_t nMaxRecords = 0;  // 0: any number
};

const FILE_RULE kRules[] = {
    {CAdminAccount::kFileName, sizeof(ADMIN_ACCOUNT), false, AdministratorOnly, 1},
    {CChildAccountList::kFileName, CChildAccountList::kRecordSize, true, ChildNoticesOnly},
    {CPrjStore::FILE_NAME, CUserPrj::BLOCK_SIZE, true, NewDefaultWeeksOnly},
    {CUsageStore::FILE_NAME, CUsageStore::RECORD_SIZE, true, UseNeverGoesDown},
    {CExtraTimeStore::kFileName, CExtraTimeStore::kRecordSize, true, NoGrantWithoutAdministrator},
    {CHistoryFile::kFileName, 1, false, AppendedLinesOnly},
    {CProtectedAccounts::kFileName, CProtectedAccounts::kRecordSize, true, AdministratorOnly},
    {CProgramRuleStore::kFileName, CProgramRuleStore::kRecordSize, true, AdministratorOnly},
    {CProgramUseStore::kFileName, CProgramUseStore::kRecordSize, true, ProgramUseNeverGoesDown},
    {CActiveUserList::kFileName, CActiveUserList::kRecordSize, true, Anyone},
    {CHiddenWindowList::kFileName, CHiddenWindowList::kRecordSize, true, Anyone},
};

const FILE_RULE* RuleOf(const std::string& strFile) {
    for (const FILE_RULE& rule : kRules)
        if (strFile == rule.pszFile) return &rule;
    return nullptr;
}

}  // namespace

bool CWriteCheck::IsKnown(const std::string& strFile) { return RuleOf(strFile) != nullptr; }

std::vector<std::string> CWriteCheck::Files() {
    std::vector<std::string> files;
    for (const FILE_RULE& rule : kRules) files.emplace_back(rule.pszFile);
    return files;
}

std::string CWriteCheck::Check(const std::string& strFile, const BYTES& oldImage, const BYTES& newImage,
                               const WRITE_CONTEXT& context) {
    const FILE_RULE* pRule = RuleOf(strFile);
    if (!pRule) return "it is not a data file of Quenby";
    if (newImage.empty() ? !pRule->bMayBeEmpty : newImage.size() % pRule->nRecordSize != 0)
        return "it is not a whole number of records";
    if (pRule->nMaxRecords && newImage.size() > pRule->nMaxRecords * pRule->nRecordSize)
        return "it holds more records than the file may";
    return pRule->pfnRule(oldImage, newImage, context);
}
