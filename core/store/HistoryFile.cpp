// history.csv: reading, checking for a day, appending.
#include "core/store/HistoryFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/store/ProgramRuleStore.h"
#include "core/store/RecordFile.h"

namespace {

// A name in its field: line breaks become blanks (a line is a record, whatever its quotes), and it
// is quoted when it holds a comma or a quote.
std::string Quoted(std::string strText) {
    for (char& c : strText)
        if (c == '\r' || c == '\n') c = ' ';
    if (strText.find_first_of(",\"") == std::string::npos) return strText;
    std::string strOut = "\"";
    for (char c : strText) {
        if (c == '"') strOut += '"';
        strOut += c;
    }
    return strOut + "\"";
}

// The fields of one line, quotes undone; false when a quote is left open.
bool SplitFields(const std::string& strText, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool bQuoted = false;
    for (std::size_t n = 0; n < strText.size(); ++n) {
        const char c = strText[n];
        if (bQuoted) {
            if (c != '"')
                fields.back() += c;
            else if (n + 1 < strText.size() && strText[n + 1] == '"')
                fields.back() += '"', ++n;
            else
                bQuoted = false;
        } else if (c == '"') {
            bQuoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return !bQuoted;
}

bool ReadNumber(const std::string& strText, int& nValue) {
    if (strText.empty() || strText.size() > 9) return false;
    for (char c : strText)
        if (c < '0' || c > '9') return false;
    nValue = std::atoi(strText.c_str());
    return true;
}

// The file's lines, ended by CR LF or LF; a quote left open ends with its line, so a line edited
// by hand cannot swallow the lines after it.
std::vector<std::string> Records(const std::string& strFile) {
    std::vector<std::string> records(1);
    for (char c : strFile) {
        if (c == '\n' || c == '\r') {
            if (!records.back().empty()) records.emplace_back();
            continue;
        }
        records.back() += c;
    }
    if (records.back().empty()) records.pop_back();
    return records;
}

}  // namespace

std::string CHistoryFile::Format(const HISTORY_LINE& line) {
    char szDate[16];
    std::snprintf(szDate, sizeof szDate, "%.4d-%.2d-%.2d", line.nDate / 10000 % 10000, line.nDate / 100 % 100,
                  line.nDate % 100);
    std::string strLine = std::string(szDate) + "," + Quoted(line.strUser) + "," + std::to_string(line.nUsedMinutes) + ",";
    if (line.strProgram.empty())
        return strLine + std::to_string(line.nAllowedMinutes) + "," + std::to_string(line.nLocks) + "," +
               std::to_string(line.nExtraMinutes);
    // A program's line: no limit and no extra minutes are empty fields.
    return strLine + (line.nAllowedMinutes < 0 ? std::string() : std::to_string(line.nAllowedMinutes)) + "," +
           std::to_string(line.nLocks) + "," + (line.nExtraMinutes ? std::to_string(line.nExtraMinutes) : std::string()) +
           "," + Quoted(line.strProgram);
}

bool CHistoryFile::Parse(const std::string& strText, HISTORY_LINE& line) {
    std::vector<std::string> fields;
    if (!SplitFields(strText, fields) || fields.size() < 6 || fields.size() > 7) return false;
    const std::string& strDate = fields[0];
    int nYear = 0, nMonth = 0, nDay = 0;
    if (strDate.size() != 10 || strDate[4] != '-' || strDate[7] != '-' || !ReadNumber(strDate.substr(0, 4), nYear) ||
        !ReadNumber(strDate.substr(5, 2), nMonth) || !ReadNumber(strDate.substr(8, 2), nDay))
        return false;
    HISTORY_LINE parsed;
    parsed.nDate = nYear * 10000 + nMonth * 100 + nDay;
    parsed.strUser = fields[1];
    // A seventh field names the program; an empty one (a spreadsheet that saved the file again)
    // leaves the child's day.
    parsed.strProgram = fields.size() == 7 ? fields[6] : std::string();
    const bool bProgram = !parsed.strProgram.empty();
    if (!ReadNumber(fields[2], parsed.nUsedMinutes) || !ReadNumber(fields[4], parsed.nLocks)) return false;
    if (bProgram && fields[3].empty())
        parsed.nAllowedMinutes = -1;
    else if (!ReadNumber(fields[3], parsed.nAllowedMinutes))
        return false;
    if (!(bProgram && fields[5].empty()) && !ReadNumber(fields[5], parsed.nExtraMinutes)) return false;
    line = parsed;
    return true;
}

bool CHistoryFile::Load() {
    m_lines.clear();
    BYTES bytes;
    if (!CRecordFile::ReadAll(kFileName, bytes)) return false;
    for (const std::string& strRecord : Records(std::string(bytes.begin(), bytes.end()))) {
        HISTORY_LINE line;
        if (Parse(strRecord, line)) m_lines.push_back(line);
    }
    return true;
}

bool CHistoryFile::Has(std::int32_t nDate, const std::string& strUser, const std::string& strProgram) const {
    for (const HISTORY_LINE& line : m_lines)
        if (line.nDate == nDate && line.strUser == strUser && SameProgramName(line.strProgram, strProgram)) return true;
    return false;
}

bool CHistoryFile::Append(const HISTORY_LINE& line) { return Append(std::vector<HISTORY_LINE>{line}); }

bool CHistoryFile::Append(const std::vector<HISTORY_LINE>& lines) {
    // What is on the disk decides, not what was read earlier.
    BYTES bytes;
    const bool bExists = CRecordFile::ReadAll(kFileName, bytes);
    Load();
    std::vector<HISTORY_LINE> fresh;
    for (const HISTORY_LINE& line : lines) {
        const bool bKnown = Has(line.nDate, line.strUser, line.strProgram) ||
                            std::any_of(fresh.begin(), fresh.end(), [&line](const HISTORY_LINE& other) {
                                return other.nDate == line.nDate && other.strUser == line.strUser &&
                                       SameProgramName(other.strProgram, line.strProgram);
                            });
        if (!bKnown) fresh.push_back(line);
    }
    if (fresh.empty()) return true;
    const bool bPrograms =
        std::any_of(fresh.begin(), fresh.end(), [](const HISTORY_LINE& line) { return !line.strProgram.empty(); });
    const std::string strOldHeader = std::string(kHeader) + "\r\n";
    if (!bExists || bytes.empty()) {
        const std::string strHeader = std::string(bPrograms ? kProgramHeader : kHeader) + "\r\n";
        bytes.assign(strHeader.begin(), strHeader.end());
    } else {
        // The first program's line names the new column in a header of the days alone.
        if (bPrograms && bytes.size() >= strOldHeader.size() &&
            std::equal(strOldHeader.begin(), strOldHeader.end(), bytes.begin())) {
            const std::string strHeader = std::string(kProgramHeader) + "\r\n";
            bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(strOldHeader.size()));
            bytes.insert(bytes.begin(), strHeader.begin(), strHeader.end());
        }
        if (bytes.back() != '\n') {
            bytes.push_back('\r');
            bytes.push_back('\n');
        }
    }
    for (const HISTORY_LINE& line : fresh) {
        const std::string strLine = Format(line) + "\r\n";
        bytes.insert(bytes.end(), strLine.begin(), strLine.end());
    }
    if (!CRecordFile::Save(kFileName, bytes)) return false;
    m_lines.insert(m_lines.end(), fresh.begin(), fresh.end());
    return true;
}
