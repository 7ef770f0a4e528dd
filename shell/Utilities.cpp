// Fixed-width text fields of the data files and the small text, file and date helpers.
#include "shell/Utilities.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "seams/Files.h"

int CopyToField(const std::string& strText, void* pField, std::size_t nWidth) {
    if (nWidth == 0) return 0;
    auto* pBytes = static_cast<unsigned char*>(pField);
    std::memset(pBytes, 0xCC, nWidth);
    const std::size_t nCopy = std::min(nWidth - 1, strText.size());
    std::memcpy(pBytes, strText.data(), nCopy);
    pBytes[nCopy] = 0;
    return static_cast<int>(nCopy);
}

std::string ReadField(const void* pField, std::size_t nWidth) {
    const auto* pChars = static_cast<const char*>(pField);
    return std::string(pChars, strnlen(pChars, nWidth));
}

std::string FieldText(const std::string& strText, std::size_t nWidth) {
    if (nWidth == 0) return std::string();
    return ReadField(strText.data(), std::min(nWidth - 1, strText.size()));
}

bool IsSameDay(TIMESECS a, TIMESECS b) { return CClock::IsSameDate(a, b); }

int CountLineBreaks(const std::string& strText) {
    int nCount = 0;
    for (std::size_t nAt = strText.find("\r\n"); nAt != std::string::npos; nAt = strText.find("\r\n", nAt + 2))
        ++nCount;
    return nCount;
}

int GetFileSize(const std::string& strPath) {
    const long long nSize = CFiles::Get().SizeOf(strPath);
    if (nSize < 0) return -1;
    // The data files are small; a size beyond int is reported as the largest int.
    return nSize > INT_MAX ? INT_MAX : static_cast<int>(nSize);
}

int Trace(const char*) { return 1; }
