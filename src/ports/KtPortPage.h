#pragma once

#include "ports/KtPortTables.h"
#include "snmp/KtSNMPVarList.h"

#include <QString>

// The rules of the port page: which rows of a port table belong to a
// port and the variable lists that read and write them.
namespace KtPortPage {

// The row is known without a walk: the port is the table's only index, or
// the table is a scalar group of port lists.
bool Direct(const KtPortTable &table);
// The instance suffix of the port's row of a direct table ("" for scalars).
QString DirectSuffix(const KtPortTable &table, int port);

// Makes vars one row of the table: a single instance at suffix (scalars
// without), the index columns filled from the suffix, named after the
// section. In place, since a copied list does not take the suffix along.
// -1 with a fixed text when the descriptor table is missing.
void LoadRow(KtSNMPVarList &vars, const KtPortTable &table, const QString &suffix, const QString &displayName = {});
// The whole table, walked row by row to find the port's rows.
KtSNMPVarList WalkList(const KtPortTable &table);

// Whether a row read by a walk (index columns filled) belongs to the port:
// its port index column holds the port's number; every row of a bitmap table.
bool Belongs(const KtPortTable &table, const KtSNMPVarList &row, int port);

// The bit of a port in a port list: bit 0 is the most significant bit of
// the first octet and stands for port 1.
inline int Bit(int port) { return port - 1; }
// Whether the port's bit is set in a port-list value text of that type.
bool Member(const QString &valueText, quint32 type, int port);
// The list with the port's bit set or cleared and every other bit as it
// was; a list too short for the port grows with zero octets.
QString WithMember(const QString &valueText, quint32 type, int port, bool member);

// The row's index values as the section shows them ("7, copper").
QString IndexText(const KtSNMPVarList &row);

} // namespace KtPortPage
