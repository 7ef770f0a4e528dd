// Fixed-width text fields of the data files.
#include "core/store/RecordField.h"

#include <algorithm>
#include <cstring>

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
