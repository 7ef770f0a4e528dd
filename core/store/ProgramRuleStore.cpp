// programs.lim: the rules per program, read and written with the second copy like the other
// parent-written files.
#include "core/store/ProgramRuleStore.h"

#include <algorithm>

#include "core/store/DataFile.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameUser(const std::string& a, const std::string& b) {
    return FieldText(a, CProgramRuleStore::kNameSize) == FieldText(b, CProgramRuleStore::kNameSize);
}

PROGRAM_RULE ReadRule(const BYTES& bytes, std::size_t nOffset) {
    CRecordReader reader(bytes, nOffset, nOffset + CProgramRuleStore::kRecordSize);
    PROGRAM_RULE rule;
    rule.strUser = reader.ReadText(CProgramRuleStore::kNameSize);
    rule.strProgram = reader.ReadText(CProgramRuleStore::kProgramSize);
    rule.strPath = reader.ReadText(CProgramRuleStore::kPathSize);
    for (std::int32_t& nMinutes : rule.nMinutes) {
        reader.ReadInt32(nMinutes);
        // Any negative count means no limit; more than a day is the whole day.
        nMinutes = nMinutes < 0 ? PROGRAM_RULE::NO_LIMIT : std::min(nMinutes, PROGRAM_RULE::kMostMinutes);
    }
    reader.ReadInt32(rule.nFlags);
    rule.nFlags &= PROGRAM_RULE::kKnownFlags;
    return rule;
}

}  // namespace

std::int32_t PROGRAM_RULE::AllowedSecs(int nWeekday) const {
    if (IsBlocked()) return 0;
    const std::int32_t nDay = nMinutes[static_cast<std::size_t>(((nWeekday % 7) + 7) % 7)];
    return nDay == NO_LIMIT ? NO_LIMIT : nDay * 60;
}

bool SameProgramName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool CProgramRuleStore::Load() {
    std::list<PROGRAM_RULE> rules;
    const bool bRead = CDataFile::Load(kFileName, kRecordSize, [&rules](const BYTES& bytes, std::size_t nOffset) {
        rules.push_back(ReadRule(bytes, nOffset));
    });
    if (bRead) m_list.swap(rules);
    return bRead;
}

bool CProgramRuleStore::Save() const {
    CRecordWriter writer;
    for (const PROGRAM_RULE& rule : m_list) {
        writer.PutText(rule.strUser, kNameSize);
        writer.PutText(rule.strProgram, kProgramSize);
        writer.PutText(rule.strPath, kPathSize);
        for (std::int32_t nMinutes : rule.nMinutes) writer.PutInt32(nMinutes);
        writer.PutInt32(rule.nFlags);
    }
    return CDataFile::Save(kFileName, writer.Bytes());
}

std::vector<PROGRAM_RULE> CProgramRuleStore::ForUser(const std::string& strUser) const {
    std::vector<PROGRAM_RULE> rules;
    for (const PROGRAM_RULE& rule : m_list)
        if (SameUser(rule.strUser, strUser)) rules.push_back(rule);
    return rules;
}

void CProgramRuleStore::ReplaceUser(const std::string& strUser, const std::vector<PROGRAM_RULE>& rules) {
    RemoveUser(strUser);
    for (PROGRAM_RULE rule : rules) {
        rule.strUser = strUser;
        m_list.push_back(std::move(rule));
    }
}

void CProgramRuleStore::RemoveUser(const std::string& strUser) {
    m_list.remove_if([&strUser](const PROGRAM_RULE& rule) { return SameUser(rule.strUser, strUser); });
}
