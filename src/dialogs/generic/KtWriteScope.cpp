#include "dialogs/generic/KtWriteScope.h"

#include "bindings/KtSNMPRequest2Controls.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

KtWriteScope::KtWriteScope(KtSNMPRequest2Controls *binding) : m_binding(binding)
{
    if (!binding)
        return;
    m_asynchronous = binding->Asynchronous;
    binding->Asynchronous = false;
}

KtWriteScope::~KtWriteScope()
{
    if (!m_binding)
        return;
    for (int i : m_marked)
        m_binding->Request.Vars.Get(i).Access &= ~quint32(KtAccess::Invalid);
    m_binding->Asynchronous = m_asynchronous;
}

void KtWriteScope::Exclude(int i)
{
    if (!m_binding || i < 0 || i >= m_binding->Request.Vars.Count())
        return;
    quint32 &access = m_binding->Request.Vars.Get(i).Access;
    if (access & KtAccess::Invalid)
        return;
    access |= KtAccess::Invalid;
    m_marked.append(i);
}
