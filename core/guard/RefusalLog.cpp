// Refusals into the event log, bounded per minute.
#include "core/guard/RefusalLog.h"

#include "core/seams/Clock.h"
#include "core/store/EventLog.h"

void CRefusalLog::Record(const std::string& strAccount, const std::string& strText) {
    const std::int64_t nNowMs = CClock::RunningMs();
    if (!m_bStarted || nNowMs - m_nMinuteStartMs >= 60000 || nNowMs < m_nMinuteStartMs) {
        m_bStarted = true;
        m_nMinuteStartMs = nNowMs;
        m_nInMinute = 0;
    }
    if (m_nInMinute >= kPerMinute) {
        ++m_nUnwritten;
        return;
    }
    ++m_nInMinute;
    std::string strDetail = strText;
    if (m_nUnwritten > 0)
        strDetail += " (" + std::to_string(m_nUnwritten) + " more refused requests were not listed one by one)";
    if (CEventLog::Append(CEventLog::kRefused, strAccount, strDetail)) m_nUnwritten = 0;
}
