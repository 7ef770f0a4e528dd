// Builds the byte image of a data file: little-endian fields and fixed-width text.
#pragma once

#include <cstdint>
#include <string>

#include "core/seams/Files.h"
#include "core/store/RecordField.h"

class CRecordWriter {
public:
    void PutInt32(std::int32_t nValue) {
        const auto u = static_cast<std::uint32_t>(nValue);
        m_bytes.insert(m_bytes.end(), {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                                       std::uint8_t(u >> 24)});
    }
    void PutUInt32(std::uint32_t nValue) { PutInt32(static_cast<std::int32_t>(nValue)); }
    // A fixed-width text field by the field rule (0xCC filler, cut to nWidth - 1 bytes).
    void PutText(const std::string& strText, std::size_t nWidth) {
        const std::size_t nAt = m_bytes.size();
        m_bytes.resize(nAt + nWidth);
        CopyToField(strText, m_bytes.data() + nAt, nWidth);
    }
    void PutBytes(const void* pData, std::size_t nSize) {
        const auto* p = static_cast<const std::uint8_t*>(pData);
        m_bytes.insert(m_bytes.end(), p, p + nSize);
    }

    const BYTES& Bytes() const { return m_bytes; }

private:
    BYTES m_bytes;
};
