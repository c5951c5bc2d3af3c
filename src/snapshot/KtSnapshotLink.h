#pragma once

#include "snmp/KtSnmpEngine.h"

// Where the switch is and how to talk to it, with the two communities kept
// apart so that reads never travel with the write community.
struct KtSnapshotLink
{
    KtSnmpTarget target;   // community unused
    QString readCommunity = QStringLiteral("public");
    QString writeCommunity = QStringLiteral("private");

    KtSnmpTarget forRead() const
    {
        KtSnmpTarget t = target;
        t.community = readCommunity;
        return t;
    }
    KtSnmpTarget forWrite() const
    {
        KtSnmpTarget t = target;
        t.community = writeCommunity;
        return t;
    }
};
