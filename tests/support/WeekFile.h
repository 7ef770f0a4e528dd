// prj.nam for a test: one child's week, every weekday the day given.
#pragma once

#include <string>

#include "core/store/PrjStore.h"
#include "core/store/UserPrj.h"

inline CUserPrj WeekOf(const std::string& strUser, const CDayPrj& day) {
    CUserPrj week(strUser);
    week.m_days.fill(day);
    return week;
}

// Replaces prj.nam with the one week; false when it could not be written.
inline bool SaveWeek(const CUserPrj& week) {
    CPrjStore store;
    store.Add(week);
    return store.Save();
}
