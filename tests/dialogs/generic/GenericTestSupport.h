#pragma once

// Shared set-up of the generic dialog tests: bindings built from
// descriptor tables, engine read-backs, dialogs scripted from inside their
// modal loop. The agent session and the message service are the common ones.

#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace Generic {

inline const KtSNMPVarTable &Table(const char *name)
{
    const KtSNMPVarTable *t = KtMibData::Instance().FindTable(QString::fromLatin1(name));
    if (!t)
        qFatal("no descriptor table %s", name);
    return *t;
}

inline KtSNMPRequest2Edits *Binding(QWidget *owner, const char *table, quint8 kind, int indexCount)
{
    auto *b = new KtSNMPRequest2Edits(owner);
    b->Request.Vars = KtSNMPVarList(Table(table), kind, indexCount);
    return b;
}

// Every row of a table as the engine reads it now: the value texts in list order.
inline QList<QStringList> EngineRows(const char *table, quint8 kind, int indexCount)
{
    KtSNMPRequest r(KtSNMPVarList(Table(table), kind, indexCount));
    QList<QStringList> rows;
    for (bool more = r.Fetch(true); more; more = r.Fetch(false)) {
        QStringList row;
        for (int i = 0; i < r.Vars.Count(); ++i)
            row.append(r.Vars.Get(i).Value);
        rows.append(row);
    }
    return rows;
}

inline QString EngineScalar(const char *table, int var)
{
    KtSNMPRequest r(KtSNMPVarList(Table(table), KtKind::SVT_SV, 0));
    r.Fetch(true);
    return r.Vars.Get(var).Value;
}

inline bool WaitIdle(const KtSNMPRequest2Controls *b, int ms = 20000)
{
    return QTest::qWaitFor([b] { return !b->Busy; }, ms);
}

inline QString LastLine(const QPlainTextEdit *memo)
{
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last();
}

// Runs script once, from inside the modal loop of the next dialog that
// sender announces; a dialog the script leaves open is then rejected.
template <typename Sender, typename Signal>
void WhenOpened(Sender *sender, Signal signal, std::function<void(QDialog *)> script)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(sender, signal, sender, [connection, script](QWidget *w) {
        QObject::disconnect(*connection);
        auto *dialog = qobject_cast<QDialog *>(w);
        QTimer::singleShot(0, dialog, [dialog, script] {
            script(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    });
}

} // namespace Generic
