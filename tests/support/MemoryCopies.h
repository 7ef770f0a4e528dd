// Second copies of the data files kept in memory, so that a test's copies live and die with its
// data folder (CTempFolder installs one). A test may look at them, change them or refuse writes.
#pragma once

#include <map>
#include <string>

#include "core/seams/DataCopies.h"

class CMemoryCopies final : public IDataCopies {
public:
    bool Read(const std::string& strFile, BYTES& bytes) override {
        const auto it = m_copies.find(strFile);
        if (it == m_copies.end()) return false;
        bytes = it->second;
        return true;
    }
    bool Write(const std::string& strFile, const BYTES& bytes) override {
        if (m_bRefuseWrites) return false;
        m_copies[strFile] = bytes;
        return true;
    }
    bool Has(const std::string& strFile) const { return m_copies.count(strFile) != 0; }

    std::map<std::string, BYTES> m_copies;
    bool m_bRefuseWrites = false;
};
