#pragma once

#include <QList>
#include <QString>

class KtOptionList;

// One variable descriptor: a scalar or a table column. In static tables
// the expressions, Value and LastOid are null; in a list Value holds the
// display text and LastOid the full OID last returned (the walk position).
struct KtSNMPVar
{
    QString Oid;        // dotted, without instance; " " marks an index known only from the suffix
    QString Label;
    quint32 Type = 0;
    quint32 Access = 0;
    const KtOptionList *Options = nullptr;  // shared, never owned by the record
    QString ReadExpr;   // null when absent
    QString WriteExpr;
    QString ExtraExpr;
    QString Value;
    QString LastOid;

    // The all-zero record that ends a static table.
    bool isEnd() const { return Oid.isEmpty() && Label.isEmpty() && Type == 0 && Access == 0 && !Options; }
};

// A static descriptor table; it ends at its last record or at the first all-zero one.
using KtSNMPVarTable = QList<KtSNMPVar>;
