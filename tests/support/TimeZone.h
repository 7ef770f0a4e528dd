// Puts the process in a named time zone for the life of the object (POSIX TZ rules).
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

class CTimeZone {
public:
    explicit CTimeZone(const char* pszZone) {
        if (const char* pszOld = std::getenv("TZ")) m_strOld = pszOld, m_bHadOld = true;
        Set(pszZone);
    }
    ~CTimeZone() { m_bHadOld ? Set(m_strOld.c_str()) : Unset(); }
    CTimeZone(const CTimeZone&) = delete;
    CTimeZone& operator=(const CTimeZone&) = delete;

private:
#ifdef _WIN32
    static void Set(const char* pszZone) { _putenv_s("TZ", pszZone), _tzset(); }
    static void Unset() { _putenv_s("TZ", ""), _tzset(); }
#else
    static void Set(const char* pszZone) { setenv("TZ", pszZone, 1), tzset(); }
    static void Unset() { unsetenv("TZ"), tzset(); }
#endif
    std::string m_strOld;
    bool m_bHadOld = false;
};
