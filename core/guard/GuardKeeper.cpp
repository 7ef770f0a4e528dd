// The guard's records, the files' public faces and their verification.
#include "core/guard/GuardKeeper.h"

#include "core/guard/WriteCheck.h"
#include "core/seams/DataFolder.h"
#include "core/seams/FileCalls.h"
#include "core/store/AdminAccount.h"
#include "core/store/EventLog.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordFile.h"

namespace {

constexpr std::size_t kPasswordOffset = offsetof(ADMIN_ACCOUNT, szPassword);

bool IsParent(const std::string& strFile) { return strFile == CAdminAccount::kFileName; }

std::string WithoutSeparator(const std::string& strFolder) {
    return strFolder.empty() ? strFolder : strFolder.substr(0, strFolder.size() - 1);
}

// parent.nam as everyone may read it: the password field says that the guard holds the password.
BYTES PublicFace(BYTES image) {
    CPasswordField::Hold(image.data() + kPasswordOffset);
    return image;
}

}  // namespace

const std::vector<std::string>& CGuardKeeper::Files() {
    static const std::vector<std::string> s_files = [] {
        std::vector<std::string> files = CWriteCheck::Files();
        files.emplace_back(CEventLog::kFileName);
        return files;
    }();
    return s_files;
}

CGuardKeeper::CGuardKeeper()
    : m_strData(CDataFolder::Get()), m_records(CGuardCopies::FolderFor(m_strData), true),
      m_strPrivate(m_records.Folder() + "admin" + m_records.Folder().back()) {}

bool CGuardKeeper::Start() {
    if (!CFileCalls::Get().MakeFolder(WithoutSeparator(m_records.Folder())) ||
        !CFileCalls::Get().MakeFolder(WithoutSeparator(m_strPrivate)))
        return false;
    CKeeperScope scope(*this);
    for (const std::string& strFile : Files()) {
        BYTES record;
        BYTES file;
        if (Read(strFile, record) || !CFiles::Get().ReadAll(m_strData + strFile, file)) continue;
        // A parent.nam whose password the guard never held cannot be taken over: its hash is gone.
        if (IsParent(strFile) &&
            (file.size() != sizeof(ADMIN_ACCOUNT) || CPasswordField::IsHeld(file.data() + kPasswordOffset)))
            continue;
        Write(strFile, file);
    }
    return true;
}

bool CGuardKeeper::Read(const std::string& strFile, BYTES& image) {
    if (IsParent(strFile)) return CFiles::Get().ReadAll(m_strPrivate + strFile, image);
    return m_records.Read(strFile, image);
}

bool CGuardKeeper::Write(const std::string& strFile, const BYTES& image) {
    if (IsParent(strFile)) return WriteParent(image);
    // The record first: it is what counts; the file is only its face.
    if (!m_records.Write(strFile, image)) return false;
    CRecordFile::SaveHere(strFile.c_str(), image);
    return true;
}

bool CGuardKeeper::WriteParent(const BYTES& image) {
    if (image.size() != sizeof(ADMIN_ACCOUNT)) return false;
    BYTES full = image;
    // The program never sees the hash: its record says "held", and the guard keeps the one it has.
    if (CPasswordField::IsHeld(full.data() + kPasswordOffset)) {
        BYTES old;
        if (!Read(CAdminAccount::kFileName, old) || old.size() != full.size()) return false;
        std::copy(old.begin() + kPasswordOffset, old.begin() + kPasswordOffset + CPasswordField::kSize,
                  full.begin() + kPasswordOffset);
    }
    const BYTES face = PublicFace(full);
    if (!CFiles::Get().ReplaceAll(m_strPrivate + CAdminAccount::kFileName, full) ||
        !m_records.Write(CAdminAccount::kFileName, face))
        return false;
    CRecordFile::SaveHere(CAdminAccount::kFileName, face);
    return true;
}

bool CGuardKeeper::Event(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) {
    CKeeperScope scope(*this);
    return AppendEvent(strKind, strAccount, strDetail);
}

bool CGuardKeeper::AppendEvent(const std::string& strKind, const std::string& strAccount, const std::string& strDetail) {
    BYTES record;
    BYTES file;
    if (m_records.Read(CEventLog::kFileName, record) && (!CFiles::Get().ReadAll(m_strData + CEventLog::kFileName, file) || file != record))
        CEventLog::AppendHere(CEventLog::kChanged, "",
                              std::string(CEventLog::kFileName) + " was changed outside Quenby; the guard put its own record back");
    return CEventLog::AppendHere(strKind, strAccount, strDetail);
}

int CGuardKeeper::Verify() {
    CKeeperScope scope(*this);
    int nChanged = 0;
    std::vector<std::string> log;
    for (const std::string& strFile : Files()) {
        BYTES record;
        BYTES file;
        const bool bFile = CFiles::Get().ReadAll(m_strData + strFile, file);
        if (m_records.Read(strFile, record)) {
            if (bFile && file == record) continue;
            const bool bRestored = CRecordFile::SaveHere(strFile.c_str(), record);
            if (!bRestored && !m_unrestored.insert(strFile).second) continue;
            if (bRestored) m_unrestored.erase(strFile);
            log.push_back(strFile + (bFile ? " was changed" : " was removed") + " outside Quenby; " +
                          (bRestored ? "the guard put its own record back" : "the guard could not put its record back"));
        } else if (bFile) {
            if (!CFileCalls::Get().Remove(m_strData + strFile) && !m_unrestored.insert(strFile).second) continue;
            log.push_back(strFile + " was written outside Quenby; the guard removed it");
        } else {
            continue;
        }
        ++nChanged;
    }
    // The event log itself was put back first, so these lines land in the guard's record.
    for (const std::string& strLine : log) AppendEvent(CEventLog::kChanged, "", strLine);
    return nChanged;
}

CKeeperScope::CKeeperScope(CGuardKeeper& keeper) : m_pGuard(CDataGuard::Get()), m_pCopies(&CDataCopies::Get()) {
    CDataGuard::Use(&keeper);
    CDataCopies::Use(&keeper.Records());
}

CKeeperScope::~CKeeperScope() {
    CDataGuard::Use(m_pGuard);
    CDataCopies::Use(m_pCopies);
}
