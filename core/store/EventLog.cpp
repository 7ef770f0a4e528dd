// events.log: appended whole-image, bounded, read back line by line.
#include "core/store/EventLog.h"

#include <cstdio>

#include "core/seams/DataCopies.h"
#include "core/seams/DataFolder.h"
#include "core/seams/DataGuard.h"
#include "core/seams/Files.h"

namespace {

// The longer of the file and its copy: a cut or deleted file still gives what the copy holds.
// Copies that are the guard's record count whenever there is one.
std::string ReadImage() {
    BYTES file;
    BYTES copy;
    if (!CDataCopies::Get().Read(CEventLog::kFileName, copy)) copy.clear();
    if (CDataCopies::Get().IsAuthority() && !copy.empty()) return std::string(copy.begin(), copy.end());
    if (!CFiles::Get().ReadAll(CDataFolder::PathOf(CEventLog::kFileName), file)) file.clear();
    const BYTES& longer = copy.size() > file.size() ? copy : file;
    return std::string(longer.begin(), longer.end());
}

// Only the complete lines: a last line without its line end was torn by a crash.
std::string CompleteLines(const std::string& strImage) {
    const std::size_t nEnd = strImage.rfind('\n');
    return nEnd == std::string::npos ? std::string() : strImage.substr(0, nEnd + 1);
}

std::string Clean(const std::string& strText) {
    std::string strClean = strText;
    for (char& c : strClean)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return strClean;
}

std::string TimeText(TIMESECS t) {
    const CLocalTime local = CClock::ToLocal(t);
    char szTime[32];
    std::snprintf(szTime, sizeof szTime, "%04d-%02d-%02d %02d:%02d:%02d", local.nYear, local.nMonth, local.nDay,
                  local.nHour, local.nMinute, local.nSecond);
    return szTime;
}

// Drops whole lines from the front until the image fits the bound.
void Bound(std::string& strImage) {
    std::size_t nFrom = 0;
    while (strImage.size() - nFrom > CEventLog::kMaxBytes) {
        const std::size_t nEnd = strImage.find('\n', nFrom);
        if (nEnd == std::string::npos) break;
        nFrom = nEnd + 1;
    }
    strImage.erase(0, nFrom);
}

EVENT_ENTRY ParseLine(const std::string& strLine) {
    EVENT_ENTRY entry;
    std::string* fields[] = {&entry.strTime, &entry.strKind, &entry.strAccount, &entry.strDetail};
    std::size_t nField = 0;
    for (char c : strLine) {
        if (c == '\t' && nField < 3)
            ++nField;
        else
            *fields[nField] += c;
    }
    return entry;
}

}  // namespace

bool CEventLog::Append(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) {
    if (IDataGuard* pGuard = CDataGuard::Get()) return pGuard->Event(strKind, strAccount, strDetail);
    return AppendHere(strKind, strAccount, strDetail);
}

bool CEventLog::AppendHere(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) {
    EVENT_ENTRY entry{TimeText(CClock::Now()), Clean(strKind), strAccount.empty() ? "-" : Clean(strAccount),
                      Clean(strDetail)};
    std::string strImage = CompleteLines(ReadImage()) + LineOf(entry) + "\r\n";
    Bound(strImage);
    const BYTES bytes(strImage.begin(), strImage.end());
    const bool bFile = CFiles::Get().ReplaceAll(CDataFolder::PathOf(kFileName), bytes);
    const bool bCopy = CDataCopies::Get().Write(kFileName, bytes);
    return bFile || bCopy;
}

std::vector<EVENT_ENTRY> CEventLog::ReadAll() {
    const std::string strImage = CompleteLines(ReadImage());
    std::vector<EVENT_ENTRY> entries;
    std::size_t nFrom = 0;
    while (nFrom < strImage.size()) {
        const std::size_t nEnd = strImage.find('\n', nFrom);
        std::string strLine = strImage.substr(nFrom, nEnd - nFrom);
        if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
        if (!strLine.empty()) entries.push_back(ParseLine(strLine));
        nFrom = nEnd + 1;
    }
    return entries;
}

std::vector<EVENT_ENTRY> CEventLog::SinceLastLogin() {
    std::vector<EVENT_ENTRY> entries = ReadAll();
    for (std::size_t n = entries.size(); n-- > 0;) {
        if (entries[n].strKind == kLogin) {
            entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(n) + 1);
            break;
        }
    }
    return entries;
}

std::string CEventLog::LineOf(const EVENT_ENTRY& entry) {
    return entry.strTime + "\t" + entry.strKind + "\t" + entry.strAccount + "\t" + entry.strDetail;
}
