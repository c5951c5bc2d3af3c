#pragma once

#include "snmp/KtSNMPRequest.h"

#include <QList>

// An asynchronous operation's callback that keeps every result it is
// given; userData is the QList<KtSNMPError> to append to.
inline void KeepResult(void *results, KtSNMPError *result, KtSNMPVarList *)
{
    static_cast<QList<KtSNMPError> *>(results)->append(*result);
}
