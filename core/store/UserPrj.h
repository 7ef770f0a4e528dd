// One child's week of day arrangements, indexed by the local weekday (0 = Sunday).
#pragma once

#include <array>
#include <string>

#include "core/store/DayPrj.h"

class CUserPrj {
public:
    // One user block of prj.nam: the 128-byte name field and seven day records.
    static constexpr std::size_t NAME_SIZE = 128;
    static constexpr std::size_t BLOCK_SIZE = NAME_SIZE + 7 * CDayPrj::RECORD_SIZE;

    CUserPrj() = default;
    explicit CUserPrj(std::string strUser) : m_strUser(std::move(strUser)) {}
    CUserPrj(const CUserPrj&) = default;
    CUserPrj& operator=(const CUserPrj&) = default;
    virtual ~CUserPrj() = default;

    std::array<CDayPrj, 7> m_days;
    std::string m_strUser;
};
