// Reads little-endian fields from a data file's bytes, one after the other.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "core/seams/Files.h"
#include "core/store/RecordField.h"

class CRecordReader {
public:
    explicit CRecordReader(const BYTES& bytes, std::size_t nStart = 0, std::size_t nEnd = SIZE_MAX)
        : m_pBytes(bytes.data()), m_nPos(nStart), m_nEnd(nEnd < bytes.size() ? nEnd : bytes.size()) {}

    std::size_t Remaining() const { return m_nPos < m_nEnd ? m_nEnd - m_nPos : 0; }
    bool AtEnd() const { return Remaining() == 0; }

    // Copies up to nSize bytes into pOut and returns how many there were (a short file gives fewer).
    std::size_t ReadBytes(void* pOut, std::size_t nSize) {
        const std::size_t n = nSize < Remaining() ? nSize : Remaining();
        if (n) std::memcpy(pOut, m_pBytes + m_nPos, n);
        m_nPos += n;
        return n;
    }
    // A signed 32-bit field; false (and the value untouched) when the bytes ran out.
    bool ReadInt32(std::int32_t& nValue) {
        if (Remaining() < 4) return false;
        const std::uint8_t* p = m_pBytes + m_nPos;
        nValue = static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                           std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
        m_nPos += 4;
        return true;
    }
    std::string ReadText(std::size_t nWidth) {
        std::string strText(nWidth, '\0');
        strText.resize(ReadBytes(strText.data(), nWidth));
        return ReadField(strText.data(), strText.size());
    }
    void Skip(std::size_t nSize) { m_nPos += nSize < Remaining() ? nSize : Remaining(); }

private:
    const std::uint8_t* m_pBytes;
    std::size_t m_nPos;
    std::size_t m_nEnd;
};
