#include "snapshot/KtRestorePlan.h"

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotSchema.h"

#include "values/KtOptionList.h"

#include <QMap>
#include <algorithm>

namespace {

constexpr qint64 Active = 1;
constexpr qint64 CreateAndGo = 4;
constexpr qint64 CreateAndWait = 5;
constexpr qint64 Destroy = 6;

// Enumerations that start an action rather than hold a setting: writing
// them back would reset the switch or clear its tables.
bool isAction(const KtSnapshotColumn &c, const KtVarBind &vb)
{
    if (!c.options || vb.syntax != KtSyntax::Integer)
        return false;
    const QString label = c.options->ValueToLabel(QString::number(vb.integer));
    static const QStringList actions = {QStringLiteral("start"), QStringLiteral("warm-start"),
                                        QStringLiteral("cold-start"), QStringLiteral("reset"),
                                        QStringLiteral("reboot")};
    return actions.contains(label);
}

KtVarBind integer(const QString &oid, qint64 v)
{
    KtVarBind vb;
    vb.oid = oid;
    vb.syntax = KtSyntax::Integer;
    vb.integer = v;
    return vb;
}

// The writable values of a snapshot row, status and index left out.
QList<KtVarBind> rowValues(const KtSnapshot &s, const KtSnapshotGroup &g, const QString &row)
{
    QList<KtVarBind> vbs;
    for (const KtSnapshotColumn &c : g.columns) {
        if (c.index || c.status)
            continue;
        const auto it = s.values.constFind(c.oid + QLatin1Char('.') + row);
        if (it != s.values.cend())
            vbs.append(*it);
    }
    return vbs;
}

} // namespace

QString KtRestoreItem::StateText(State s)
{
    switch (s) {
    case Pending: return QStringLiteral("pending");
    case Done: return QStringLiteral("done");
    case Refused: return QStringLiteral("refused");
    case NotPossible: return QStringLiteral("not possible");
    }
    return {};
}

KtRestorePlan KtRestorePlan::Build(const KtSnapshot &snapshot, const QList<KtSnapshotDifference> &selected)
{
    const KtSnapshotSchema &schema = KtSnapshotSchema::Instance();
    QList<KtRestoreItem> changes, creations, removals;
    // One PDU per scalar group or row: changes gather by group and row.
    QMap<QPair<QString, QString>, int> changeAt;
    for (const KtSnapshotDifference &d : selected) {
        const KtSnapshotGroup *g = schema.findGroup(d.root);
        if (!g || g->engineSecurity || KtSnapshotSchema::IsEngineSecurity(d.oid))
            continue;
        KtRestoreItem item;
        item.menuPath = d.menuPath;
        item.group = d.group;
        item.row = d.row;
        switch (d.kind) {
        case KtSnapshotDifference::Changed: {
            const KtSnapshotColumn *c = nullptr;
            schema.groupOf(d.oid, &c);
            const auto value = snapshot.values.constFind(d.oid);
            if (!c || c->index)
                break;
            const QPair<QString, QString> key{d.root, d.row};
            int at = changeAt.value(key, -1);
            if (at < 0) {
                item.kind = g->table ? KtRestoreItem::SetColumns : KtRestoreItem::SetScalars;
                item.description = g->table ? QStringLiteral("set row %1:").arg(d.row) : QStringLiteral("set");
                item.pdus.append(QList<KtVarBind>{});
                changes.append(item);
                at = int(changes.size()) - 1;
                changeAt.insert(key, at);
            }
            KtRestoreItem &target = changes[at];
            if (value == snapshot.values.cend()) {
                target.description += QStringLiteral(" [%1 cannot be removed]").arg(c->label);
                continue;
            }
            if (isAction(*c, *value)) {
                target.description += QStringLiteral(" [%1 starts an action; left alone]").arg(c->label);
                continue;
            }
            target.description += QStringLiteral(" %1 = %2;").arg(c->label, d.before);
            target.pdus.first().append(*value);
            break;
        }
        case KtSnapshotDifference::OnlyInSnapshot: {
            item.kind = KtRestoreItem::CreateRow;
            const int sc = g->statusColumn();
            const QList<KtVarBind> values = rowValues(snapshot, *g, d.row);
            if (sc < 0) {
                item.state = KtRestoreItem::NotPossible;
                item.reason = QStringLiteral("the table has no status column to create rows with");
                item.description = QStringLiteral("create row %1").arg(d.row);
            } else {
                const QString status = g->columns.at(sc).oid + QLatin1Char('.') + d.row;
                if (!g->rowStatus) {
                    item.description = QStringLiteral("create row %1 (status %2)").arg(d.row).arg(g->createValue);
                    item.pdus.append(QList<KtVarBind>{integer(status, g->createValue)} + values);
                } else if (g->createAndGo) {
                    item.description = QStringLiteral("create row %1 with createAndGo").arg(d.row);
                    item.pdus.append(QList<KtVarBind>{integer(status, CreateAndGo)} + values);
                } else {
                    item.description = QStringLiteral("create row %1 with createAndWait, its columns, then active").arg(d.row);
                    item.pdus.append(QList<KtVarBind>{integer(status, CreateAndWait)});
                    if (!values.isEmpty())
                        item.pdus.append(values);
                    item.pdus.append(QList<KtVarBind>{integer(status, Active)});
                }
            }
            creations.append(item);
            break;
        }
        case KtSnapshotDifference::OnlyOnSwitch: {
            item.kind = KtRestoreItem::DestroyRow;
            item.description = QStringLiteral("destroy row %1").arg(d.row);
            const int sc = g->statusColumn();
            if (sc < 0) {
                item.state = KtRestoreItem::NotPossible;
                item.reason = QStringLiteral("the table has no status column to destroy rows with");
            } else {
                const QString status = g->columns.at(sc).oid + QLatin1Char('.') + d.row;
                item.pdus.append(QList<KtVarBind>{integer(status, g->rowStatus ? Destroy : g->removeValue)});
            }
            removals.append(item);
            break;
        }
        case KtSnapshotDifference::AbsentOnSwitch:
        case KtSnapshotDifference::AbsentInSnapshot:
            // Shown, never sent: a table the switch lacks cannot take values;
            // one the snapshot lacks has nothing to put back.
            item.kind = g->table ? KtRestoreItem::SetColumns : KtRestoreItem::SetScalars;
            item.description = KtSnapshotDifference::KindText(d.kind);
            item.state = KtRestoreItem::NotPossible;
            item.reason = d.kind == KtSnapshotDifference::AbsentOnSwitch ? QStringLiteral("the switch does not have it")
                                                                          : QStringLiteral("the snapshot does not hold it");
            changes.append(item);
            break;
        }
    }
    KtRestorePlan plan;
    for (KtRestoreItem &c : changes) {
        if (!c.pdus.isEmpty() && c.pdus.first().isEmpty()) {
            c.pdus.clear();
            c.state = KtRestoreItem::NotPossible;
            c.reason = QStringLiteral("nothing that may be written");
        }
    }
    plan.items = changes + creations + removals;
    return plan;
}

int KtRestorePlan::count(KtRestoreItem::State state) const
{
    return int(std::count_if(items.begin(), items.end(), [state](const KtRestoreItem &i) { return i.state == state; }));
}
