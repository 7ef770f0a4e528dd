// Folder rights through SetNamedSecurityInfo.
#include "companion/guard/FolderRights.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace {

bool SetRights(const std::string& strFolder, const char* pszSddl) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1, &pDescriptor, nullptr))
        return false;
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    PACL pDacl = nullptr;
    bool bSet = false;
    if (::GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted) && bPresent) {
        std::string strPath = strFolder;
        // Inheritance off: what the folder above allows does not reach in.
        bSet = ::SetNamedSecurityInfoA(strPath.data(), SE_FILE_OBJECT,
                                       DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                       nullptr, pDacl, nullptr) == ERROR_SUCCESS;
    }
    ::LocalFree(pDescriptor);
    return bSet;
}

}  // namespace

bool CFolderRights::GuardData(const std::string& strFolder) { return SetRights(strFolder, kDataSddl); }

bool CFolderRights::GuardPrivate(const std::string& strFolder) { return SetRights(strFolder, kPrivateSddl); }

bool CFolderRights::Release(const std::string& strFolder) {
    ACL empty{};
    if (!::InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return false;
    std::string strPath = strFolder;
    return ::SetNamedSecurityInfoA(strPath.data(), SE_FILE_OBJECT,
                                   DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                   &empty, nullptr) == ERROR_SUCCESS;
}
