// The guard's record of every data file, kept as files in a folder of its own under the data
// folder (guard\), where only the guard may write. It is the second copy of each data file for
// everything the guard runs, and for the program a copy it reads before the file itself
// (IsAuthority), so that a data file changed behind the guard's back is never believed.
#pragma once

#include <string>

#include "core/seams/DataCopies.h"

class CGuardCopies final : public IDataCopies {
public:
    // The folder with its trailing separator; bWritable false: the program's view, which reads.
    CGuardCopies(std::string strFolder, bool bWritable) : m_strFolder(std::move(strFolder)), m_bWritable(bWritable) {}

    bool Read(const std::string& strFile, BYTES& bytes) override;
    bool Write(const std::string& strFile, const BYTES& bytes) override;
    bool IsAuthority() const override { return true; }

    const std::string& Folder() const { return m_strFolder; }
    // The folder of the guard's records for a data folder (its trailing separator kept alike).
    static std::string FolderFor(const std::string& strDataFolder);

private:
    std::string m_strFolder;
    bool m_bWritable;
};
