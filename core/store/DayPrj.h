// One weekday's arrangement for one child: forbidden, free, or up to three limits that apply
// together (a rest after every N minutes, a daily total, a permitted period of the day).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CRecordReader;
class CRecordWriter;

class CDayPrj {
public:
    // Size of one day record in prj.nam and use.sta: a 4-byte tag and the thirteen fields.
    static constexpr std::size_t RECORD_SIZE = 56;
    // Written in front of every day record; ignored on reading.
    static constexpr std::int32_t RECORD_TAG = 0x00459894;

    CDayPrj() = default;
    CDayPrj(const CDayPrj&) = default;
    CDayPrj& operator=(const CDayPrj&) = default;
    virtual ~CDayPrj() = default;

    // The line that describes the day to the child, e.g.
    // "Use no more than 1 hour 30 minutes all day; Rest 10 minutes every 25 minutes; ...".
    std::string GetSummary() const;
    // Switches the three limits off and leaves their values and the mode flags alone.
    void ClearLimits();

    // Appends the 56-byte record image (tag first).
    void WriteRecord(CRecordWriter& writer) const;
    // Reads up to one record image. Fields the bytes do not fully cover keep their values;
    // returns the number of bytes consumed (0: nothing left to read).
    std::size_t ReadRecord(CRecordReader& reader);

    bool operator==(const CDayPrj& other) const;

    // The thirteen fields, in file order.
    std::int32_t m_bTotalLimit = 1;
    std::int32_t m_nTotalHours = 1;
    std::int32_t m_nTotalMinutes = 30;
    std::int32_t m_bRest = 1;
    std::int32_t m_nRestEvery = 25;
    std::int32_t m_nRestMinutes = 10;
    std::int32_t m_bPeriod = 1;
    std::int32_t m_nStartHour = 7;
    std::int32_t m_nStartMinute = 30;
    std::int32_t m_nEndHour = 22;
    std::int32_t m_nEndMinute = 0;
    std::int32_t m_bForbid = 0;
    std::int32_t m_bFree = 0;
};
