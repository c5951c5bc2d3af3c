#pragma once

#include "ports/KtPortTables.h"

#include "bindings/KtSNMPRequest2Edits.h"

#include <QStringList>

// Walks a port table through the generic binding and keeps the instance
// suffixes of the rows that belong to the port; Found follows the walk,
// also after a failure (with the rows found so far).
class KtPortRowFinder : public KtSNMPRequest2Edits
{
    Q_OBJECT

public:
    KtPortRowFinder(const KtPortTable &table, int port, QWidget *owner);

    const KtPortTable &Table() const { return m_table; }
    const QStringList &Rows() const { return m_rows; }

    void BeforeRead() override;
    void RowReceived() override;

signals:
    void Found(const QStringList &rows);

private:
    KtPortTable m_table;
    int m_port;
    QStringList m_rows;
};
