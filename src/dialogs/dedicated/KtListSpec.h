#pragma once

#include "snmp/KtSNMPVarList.h"

#include <initializer_list>

class KtOptionList;

// One variable of a dialog's list: the OID below the list's root, its
// label, type, access and options (which must outlive the list).
struct KtVarSpec
{
    const char *suffix;
    const char *label;
    quint32 type;
    quint32 access;
    const KtOptionList *options = nullptr;
};

// The list of the variables below root ("1.3.6.1.4.1.32473.12.7.1" with
// suffix "1" is ...7.1.1), of the given kind and index count.
KtSNMPVarList KtListOf(const char *root, std::initializer_list<KtVarSpec> vars, quint8 kind, int indexCount = 0);
