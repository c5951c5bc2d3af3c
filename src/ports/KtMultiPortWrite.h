#pragma once

#include "snmp/KtSNMPVar.h"
#include "snmp/KtSNMPVarList.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class KtRequestLink;
struct KtSNMPError;

// One writable column of a table with a row per port.
struct KtPortColumn
{
    QString Section;    // the table as its menu entry names it
    KtSNMPVar Var;      // the column's descriptor (OID without instance)
    QString Instance;   // the row of a port: "%1" the port, "%1.1" port and medium ...

    QString RowOf(int port) const { return Instance.arg(port); }
    QString Caption() const { return Section + QStringLiteral(" > ") + Var.Label.trimmed(); }
};

// Writes one value to a column of several ports in one SET, so that the
// switch takes all of them or none, and reads them back to tell which.
//
// Steps: read the ports' current values, set them all in one PDU, read
// them again. finished reports the outcome with a message that names the
// object the switch refused and says whether any port changed.
class KtMultiPortWrite : public QObject
{
    Q_OBJECT

public:
    explicit KtMultiPortWrite(QObject *parent = nullptr);
    ~KtMultiPortWrite() override;

    // The variables of the SET: the column at each port's row, each with valueText.
    static KtSNMPVarList SetList(const KtPortColumn &column, const QList<int> &ports, const QString &valueText = {});

    // False (nothing sent) while a write is on its way or the value is empty.
    bool Start(const KtPortColumn &column, const QList<int> &ports, const QString &valueText);
    bool Busy() const { return m_step != Step::Idle; }

    // After finished: the values as read before and after, by port.
    const QStringList &Before() const { return m_before; }
    const QStringList &After() const { return m_after; }

signals:
    void finished(bool ok, const QString &message);

private:
    enum class Step { Idle, ReadBefore, Write, ReadAfter };
    void answered(bool read, const KtSNMPError &result);
    void failed(const QString &message);
    void done(bool ok, const QString &message);
    QStringList values() const;
    // Ports whose row the switch does not have, from values read.
    QList<int> portsWithout(const QStringList &values) const;
    QString refusedText(const KtSNMPError &result) const;

    std::unique_ptr<KtRequestLink> m_link;
    KtPortColumn m_column;
    QList<int> m_ports;
    QString m_value;
    Step m_step = Step::Idle;
    QStringList m_before;
    QStringList m_after;
    QString m_refusal;  // set when the switch refused the SET
};
