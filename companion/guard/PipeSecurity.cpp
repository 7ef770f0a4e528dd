// The pipe's security descriptor, built from its text form and freed with the object.
#include "companion/guard/PipeSecurity.h"

#include <sddl.h>

CPipeSecurity::CPipeSecurity() {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(kSddl, SDDL_REVISION_1, &pDescriptor, nullptr)) return;
    m_attributes.nLength = sizeof m_attributes;
    m_attributes.lpSecurityDescriptor = pDescriptor;
    m_attributes.bInheritHandle = FALSE;
}

CPipeSecurity::~CPipeSecurity() {
    if (m_attributes.lpSecurityDescriptor) ::LocalFree(m_attributes.lpSecurityDescriptor);
}
