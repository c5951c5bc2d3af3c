#pragma once

#include "snmp/KtSNMPVarList.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the BOOTP relay dialogs check before a server is added.
namespace TBOOTCtrlTableFormRules {

enum Column { InterfaceColumn, ServerColumn, StateColumn };
enum class Field { Interface, Server };

constexpr int MaxServersPerInterface = 4;

struct Refusal
{
    QString Message;
    Field Focus;
    bool Warning = false;  // a warning box rather than a plain one
};

// The BOOTP relay servers, indexed by interface name and server address.
KtSNMPVarList RelayList();

// A new server for the interface, against the interface names of the
// rows listed; nothing when the set may go, and then *server holds the
// address as it is to be sent.
std::optional<Refusal> CheckAdd(const QString &interfaceName, const QString &serverText,
                                const QStringList &listedInterfaces, QString *server);

} // namespace TBOOTCtrlTableFormRules
