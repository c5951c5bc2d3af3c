#pragma once

#include "ports/KtPortTables.h"

#include <QGroupBox>
#include <QList>
#include <QString>

class KtSNMPRequest2Edits;
class QObject;
class QPushButton;
class TCtrlBtnPanel;

// One section of the port page: a group box titled by the table's menu
// caption, showing rows of one port table through the generic binding,
// with its own Set Checked and a link to the table's own dialog.
class TPortSection : public QGroupBox
{
    Q_OBJECT

public:
    TPortSection(const KtPortTable &table, int port, const QString &caption, QWidget *owner);
    ~TPortSection() override;

    const KtPortTable &Table() const { return m_table; }
    int Port() const { return m_port; }
    QString Caption() const { return m_caption; }

    // The buttons at the right (Refresh, Set Checked ...).
    TCtrlBtnPanel *Buttons = nullptr;

    // Every binding of the section, owned by it.
    virtual QList<KtSNMPRequest2Edits *> Bindings() const = 0;
    // Reads the section's rows.
    virtual void Read() = 0;
    // Writes what the operator changed; one click of Set Checked.
    virtual void WriteChecked() = 0;

    // Status lines of every binding go here (the page's memo).
    void SetStatusTarget(QObject *target);
    // A link that emits openEntry(entry, rowIndex, table).
    QPushButton *AddLink(const QString &rowIndex, const QString &text);
    QList<QPushButton *> Links() const { return m_links; }

    // Stops every binding and waits (bounded) until nothing is outstanding.
    void Stop();

signals:
    void openEntry(const QString &componentName, const QString &rowIndex, const QString &table);

protected:
    KtPortTable m_table;
    int m_port;
    QString m_caption;
    QList<QPushButton *> m_links;
    QObject *m_statusTarget = nullptr;
};
