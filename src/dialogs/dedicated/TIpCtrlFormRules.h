#pragma once

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the IP interface dialogs check before an interface is added,
// changed or deleted.
namespace TIpCtrlFormRules {

enum Column {
    AddressColumn,
    IfIndexColumn,
    NameColumn,
    MaskColumn,
    VlanColumn,
    ModeColumn,
    SecondaryColumn,
    AdminColumn,
    OperColumn,
    ArpColumn,
};
enum Mode { AddMode = 0, EditMode = 1 };
enum class Field { Address, IfIndex, Name, Mask, Vlan, Mode, Secondary, State, Oper };

using Refusal = KtRefusal<Field>;

// One listed interface, as its row shows it.
struct Row
{
    QString Address;
    QString IfIndex;
    QString Name;
    QString Mask;
    QString Vlan;
    QString Secondary;  // "true" or "false"
};

// The entries of the edit form; a drop-down without choice gives "".
struct Entry
{
    QString Address;
    QString IfIndex;
    QString Name;
    QString Mask;
    QString Vlan;
    QString Mode;
    QString Secondary;
    QString State;
    QString Oper;
};

inline const QString SystemInterface = QStringLiteral("System");

// The router's IP interfaces, indexed by address.
KtSNMPVarList InterfaceList();

// The states the edit form offers in a mode, and the one it fixes (empty:
// the operator chooses).
QStringList StateChoices(int mode);
QString FixedState(int mode);

// The columns a change leaves as they are, and those a deletion leaves out.
QList<int> KeptByEdit();
QList<int> LeftOutOfDelete();

// Mode, secondary, state and link state chosen.
std::optional<Refusal> CheckChoices(const Entry &entry);

// A new interface against the listed ones; nothing when it may be added,
// and then *address holds the address as it is to be sent.
std::optional<Refusal> CheckAdd(const Entry &entry, const QList<Row> &rows, QString *address);

// Whether the selected interface may go; nothing when it may.
std::optional<QString> CheckDelete(const Row &selected, const QList<Row> &rows);

} // namespace TIpCtrlFormRules
