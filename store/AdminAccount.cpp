// The Administrator record, read from and written to parent.nam.
#include "store/AdminAccount.h"

#include <cstring>

#include "store/RecordFile.h"
#include "store/RecordReader.h"
#include "store/RecordWriter.h"

bool CAdminAccount::Load() {
    BYTES bytes;
    // A file cut short of one record cannot be trusted for any field: it counts as missing.
    if (!CRecordFile::ReadAll(kFileName, bytes) || bytes.size() < sizeof(ADMIN_ACCOUNT)) return false;
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

bool CAdminAccount::Save() const {
    CRecordWriter writer;
    writer.PutBytes(m_admin.szName, sizeof m_admin.szName);
    writer.PutBytes(m_admin.szPassword, sizeof m_admin.szPassword);
    writer.PutBytes(m_admin.reserved1, sizeof m_admin.reserved1);
    writer.PutInt32(m_admin.bHasPassword);
    writer.PutInt32(m_admin.bAutoRun);
    writer.PutInt32(m_admin.bFirstRunPending);
    writer.PutBytes(m_admin.reserved2, sizeof m_admin.reserved2);
    writer.PutInt32(m_admin.nLockBackground);
    return CRecordFile::Save(kFileName, writer.Bytes());
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
    return strTyped == ReadField(m_admin.szPassword, sizeof m_admin.szPassword);
}
