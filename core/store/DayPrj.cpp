// The day arrangement: its summary line and its record image.
#include "core/store/DayPrj.h"

#include <array>

#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"
#include "core/texts/Duration.h"
#include "core/texts/MsgText.h"

namespace {

// The fields in file order, so reading and writing walk the same list.
std::array<std::int32_t CDayPrj::*, 13> Fields() {
    return {&CDayPrj::m_bTotalLimit, &CDayPrj::m_nTotalHours,  &CDayPrj::m_nTotalMinutes,
            &CDayPrj::m_bRest,       &CDayPrj::m_nRestEvery,   &CDayPrj::m_nRestMinutes,
            &CDayPrj::m_bPeriod,     &CDayPrj::m_nStartHour,   &CDayPrj::m_nStartMinute,
            &CDayPrj::m_nEndHour,    &CDayPrj::m_nEndMinute,   &CDayPrj::m_bForbid,
            &CDayPrj::m_bFree};
}

}  // namespace

std::string CDayPrj::GetSummary() const {
    if (m_bForbid == 1) return GetMsgText(112) + ".";
    if (m_bFree == 1) return GetMsgText(114) + ".";

    std::string strSummary;
    auto append = [&strSummary](const std::string& strPhrase) {
        if (!strSummary.empty()) strSummary += "; ";
        strSummary += strPhrase;
    };
    if (m_bTotalLimit == 1)
        append(FormatMsgText(116, FormatHourMin(m_nTotalHours, m_nTotalMinutes).c_str()));
    if (m_bRest == 1)
        append(FormatMsgText(118, FormatHourMinSec(0, m_nRestMinutes, 0).c_str(),
                             FormatHourMinSec(0, m_nRestEvery, 0).c_str()));
    if (m_bPeriod == 1)
        append(FormatMsgText(120, m_nStartHour, m_nStartMinute, m_nEndHour, m_nEndMinute));
    return strSummary + ".";
}

void CDayPrj::ClearLimits() {
    m_bTotalLimit = 0;
    m_bRest = 0;
    m_bPeriod = 0;
}

void CDayPrj::WriteRecord(CRecordWriter& writer) const {
    writer.PutInt32(RECORD_TAG);
    for (auto pField : Fields()) writer.PutInt32(this->*pField);
}

std::size_t CDayPrj::ReadRecord(CRecordReader& reader) {
    std::uint8_t image[RECORD_SIZE];
    const std::size_t nRead = reader.ReadBytes(image, RECORD_SIZE);
    std::size_t nAt = 4;  // past the tag
    for (auto pField : Fields()) {
        // A record cut inside a field leaves that field (and those after it) as they were.
        if (nAt + 4 > nRead) break;
        this->*pField = static_cast<std::int32_t>(std::uint32_t(image[nAt]) | std::uint32_t(image[nAt + 1]) << 8 |
                                                  std::uint32_t(image[nAt + 2]) << 16 |
                                                  std::uint32_t(image[nAt + 3]) << 24);
        nAt += 4;
    }
    return nRead;
}

bool CDayPrj::operator==(const CDayPrj& other) const {
    for (auto pField : Fields())
        if (this->*pField != other.*pField) return false;
    return true;
}
