#pragma once

#include "snapshot/KtSnapshotCompare.h"
#include "snmp/KtVarBind.h"

#include <QList>
#include <QString>

class KtSnapshot;

// One step of a restore: the PDUs that put one scalar group or one row back.
struct KtRestoreItem
{
    enum Kind { SetScalars, SetColumns, CreateRow, DestroyRow };
    enum State { Pending, Done, Refused, NotPossible };

    Kind kind = SetScalars;
    QString menuPath;
    QString group;
    QString row;
    QString description;
    QList<QList<KtVarBind>> pdus;   // sent in order; a refusal stops the rest of the item
    State state = Pending;
    QString reason;                 // the agent's refusal, or why nothing can be sent

    static QString StateText(State s);
};

// What putting selected differences back would send, in a safe order:
// changed values of existing rows and scalars first, then rows to create,
// then rows to destroy. Read-only objects, index columns and the SNMP
// engine's security tables are never in it.
class KtRestorePlan
{
public:
    static KtRestorePlan Build(const KtSnapshot &snapshot, const QList<KtSnapshotDifference> &selected);

    QList<KtRestoreItem> items;

    int count(KtRestoreItem::State state) const;
};
