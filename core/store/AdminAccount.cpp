// The Administrator record, read from and written to parent.nam.
#include "core/store/AdminAccount.h"

#include <cstring>

#include "core/seams/DataGuard.h"
#include "core/store/DataFile.h"
#include "core/store/PasswordField.h"
#include "core/store/RecordReader.h"
#include "core/store/RecordWriter.h"

bool CAdminAccount::Load() {
    BYTES bytes;
    // A file cut short of one record cannot be trusted for any field: it counts as missing (and
    // its copy is taken when that is whole).
    if (!CDataFile::Read(kFileName, sizeof(ADMIN_ACCOUNT), bytes) || bytes.size() < sizeof(ADMIN_ACCOUNT)) return false;
    CRecordReader reader(bytes, 0, sizeof(ADMIN_ACCOUNT));
    reader.ReadBytes(m_admin.szName, sizeof m_admin.szName);
    reader.ReadBytes(m_admin.szPassword, sizeof m_admin.szPassword);
    reader.ReadBytes(m_admin.reserved1, sizeof m_admin.reserved1);
    reader.ReadInt32(m_admin.bHasPassword);
    reader.ReadInt32(m_admin.bAutoRun);
    reader.ReadInt32(m_admin.bFirstRunPending);
    reader.ReadBytes(m_admin.reserved2, sizeof m_admin.reserved2);
    reader.ReadInt32(m_admin.nLockBackground);
    return true;
}

bool CAdminAccount::Save() {
    if (m_bDamaged) return false;
    if (!CPasswordField::Upgrade(m_admin.szPassword)) return false;
    CRecordWriter writer;
    writer.PutBytes(m_admin.szName, sizeof m_admin.szName);
    writer.PutBytes(m_admin.szPassword, sizeof m_admin.szPassword);
    writer.PutBytes(m_admin.reserved1, sizeof m_admin.reserved1);
    writer.PutInt32(m_admin.bHasPassword);
    writer.PutInt32(m_admin.bAutoRun);
    writer.PutInt32(m_admin.bFirstRunPending);
    writer.PutBytes(m_admin.reserved2, sizeof m_admin.reserved2);
    writer.PutInt32(m_admin.nLockBackground);
    return CDataFile::Save(kFileName, writer.Bytes());
}

void CAdminAccount::SetDefaults() {
    CopyToField(kName, m_admin.szName, sizeof m_admin.szName);
    CopyToField("", m_admin.szPassword, sizeof m_admin.szPassword);
    std::memset(m_admin.reserved1, 0, sizeof m_admin.reserved1);
    m_admin.bHasPassword = 0;
    m_admin.bAutoRun = 0;
    m_admin.bFirstRunPending = 1;
    std::memset(m_admin.reserved2, 0, sizeof m_admin.reserved2);
    m_admin.nLockBackground = 2;
}

bool CAdminAccount::AcceptsPassword(const std::string& strTyped) const {
    if (m_bDamaged) return false;
    // The installed program's guard keeps the password and checks it; its answer is the proof the
    // guard wants for the Administrator's writes.
    if (IDataGuard* pGuard = CDataGuard::Get()) return pGuard->Login(strTyped);
    return CPasswordField::Matches(m_admin.szPassword, strTyped);
}

void CAdminAccount::EndProof() const {
    if (IDataGuard* pGuard = CDataGuard::Get()) pGuard->Logout();
}

bool CAdminAccount::SetPassword(const std::string& strPassword) {
    if (!CPasswordField::Store(strPassword, m_admin.szPassword)) return false;
    m_admin.bHasPassword = 1;
    return true;
}

void CAdminAccount::SetDamaged(bool bDamaged) {
    m_bDamaged = bDamaged;
    if (bDamaged) m_admin.bFirstRunPending = 0;
}
