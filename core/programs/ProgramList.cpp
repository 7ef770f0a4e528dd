// The editor's list of a child's program rules.
#include "core/programs/ProgramList.h"

#include <algorithm>

#include "core/programs/ProgramNames.h"
#include "core/seams/Processes.h"

namespace {

const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace

void CProgramList::Load(const CProgramRuleStore& store, const std::string& strUser) {
    m_strUser = strUser;
    m_rules = store.ForUser(strUser);
    m_saved = m_rules;
}

std::string CProgramList::Add(const std::string& strName, const std::string& strPath, std::size_t* pnIndex) {
    const std::string strProgram = ProgramFileName(strName.empty() ? FileNameOfPath(strPath) : strName);
    const std::string strRefusal = ProgramRefusal(strProgram, strPath, CProcesses::Get().WindowsFolder());
    if (!strRefusal.empty()) return strRefusal;
    auto it = std::find_if(m_rules.begin(), m_rules.end(),
                           [&strProgram](const PROGRAM_RULE& rule) { return SameProgramName(rule.strProgram, strProgram); });
    if (it == m_rules.end()) {
        PROGRAM_RULE rule;
        rule.strUser = m_strUser;
        rule.strProgram = strProgram;
        rule.nMinutes.fill(kNewRuleMinutes);
        m_rules.push_back(rule);
        it = m_rules.end() - 1;
    }
    // A program picked from the running ones tells where it lies: the rule keeps the place.
    if (!strPath.empty()) it->strPath = strPath;
    if (pnIndex) *pnIndex = static_cast<std::size_t>(it - m_rules.begin());
    return {};
}

void CProgramList::Remove(std::size_t n) {
    if (n < m_rules.size()) m_rules.erase(m_rules.begin() + static_cast<std::ptrdiff_t>(n));
}

void CProgramList::SetMinutes(std::size_t n, int nDay, std::int32_t nMinutes) {
    if (n >= m_rules.size()) return;
    nMinutes = nMinutes < 0 ? PROGRAM_RULE::NO_LIMIT : std::min(nMinutes, PROGRAM_RULE::kMostMinutes);
    if (nDay == kEveryDay)
        m_rules[n].nMinutes.fill(nMinutes);
    else if (nDay >= 0 && nDay < 7)
        m_rules[n].nMinutes[static_cast<std::size_t>(nDay)] = nMinutes;
}

void CProgramList::SetBlocked(std::size_t n, bool bBlocked) {
    if (n >= m_rules.size()) return;
    std::int32_t& nFlags = m_rules[n].nFlags;
    nFlags = bBlocked ? nFlags | PROGRAM_RULE::FLAG_BLOCKED : nFlags & ~PROGRAM_RULE::FLAG_BLOCKED;
}

void CProgramList::SetCountsOutside(std::size_t n, bool bOutside) {
    if (n >= m_rules.size()) return;
    std::int32_t& nFlags = m_rules[n].nFlags;
    nFlags = bOutside ? nFlags | PROGRAM_RULE::FLAG_OUTSIDE : nFlags & ~PROGRAM_RULE::FLAG_OUTSIDE;
}

bool CProgramList::Save(CProgramRuleStore& store) {
    // The other children's rules as the file has them now.
    store.Load();
    store.ReplaceUser(m_strUser, m_rules);
    if (!store.Save()) return false;
    m_saved = m_rules;
    return true;
}

const std::vector<std::int32_t>& CProgramList::MinuteChoices() {
    static const std::vector<std::int32_t> s_choices{PROGRAM_RULE::NO_LIMIT, 0, 5, 10, 15, 20, 30, 45, 60, 75, 90,
                                                    105, 120, 150, 180, 210, 240, 300, 360, 480};
    return s_choices;
}

std::string CProgramList::MinutesText(std::int32_t nMinutes) {
    if (nMinutes < 0) return "No limit";
    if (nMinutes == 0) return "Not on this day";
    const std::int32_t nHours = nMinutes / 60, nRest = nMinutes % 60;
    std::string strText = nHours ? std::to_string(nHours) + " h" : std::string();
    if (nRest) strText.append(nHours ? " " : "").append(std::to_string(nRest)).append(" min");
    return strText;
}

std::string CProgramList::WeekText(const PROGRAM_RULE& rule) {
    if (rule.IsBlocked()) return "Blocked";
    const auto& days = rule.nMinutes;
    if (std::all_of(days.begin(), days.end(), [&days](std::int32_t n) { return n == days[0]; })) {
        if (days[0] < 0) return "No limit";
        if (days[0] == 0) return "Not on any day";
        return MinutesText(days[0]) + " every day";
    }
    std::string strText;
    for (std::size_t nDay = 0; nDay < 7; ++nDay) {
        if (!strText.empty()) strText += ", ";
        strText += std::string(kShortDays[nDay]) + " ";
        strText += days[nDay] < 0 ? "no limit" : days[nDay] == 0 ? "none" : MinutesText(days[nDay]);
    }
    return strText;
}

std::string CProgramList::DayText(const std::vector<PROGRAM_RULE>& rules, int nWeekday) {
    std::string strText;
    for (const PROGRAM_RULE& rule : rules) {
        if (!strText.empty()) strText += "; ";
        const std::int32_t nAllowed = rule.AllowedSecs(nWeekday);
        strText += rule.strProgram + " ";
        strText += nAllowed == 0 ? std::string("blocked") : nAllowed < 0 ? std::string("no limit") : MinutesText(nAllowed / 60);
        if (rule.CountsOutside() && nAllowed != 0) strText += ", outside the day's limits";
    }
    return strText;
}
