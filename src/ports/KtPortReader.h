#pragma once

#include "ports/KtPortSample.h"

#include "snmp/KtSNMPVarList.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// Reads the interface rows of some ports: one GET per few ports, all sent
// at once, reported together. The LED poll is not involved.
class KtRequestLink;

class KtPortReader : public QObject
{
    Q_OBJECT

public:
    // Keeps each answer well inside one Ethernet frame.
    static constexpr int PortsPerRequest = 7;

    explicit KtPortReader(QObject *parent = nullptr);
    ~KtPortReader() override;

    // Starts a read of these ports; false (nothing sent) while the last one is on its way.
    bool Read(const QList<int> &ports);
    bool Busy() const { return m_pending > 0; }

    // The monotonic clock samples are stamped with, in ms.
    static qint64 NowMs();

    // The variables one GET of these ports asks for, in order.
    static KtSNMPVarList Vars(const QList<int> &ports);
    // Samples from a list read by Vars(ports), matched by OID; a value the
    // switch did not have ("(NULL)") leaves its field unknown.
    static QList<KtPortSample> Samples(const QList<int> &ports, const KtSNMPVarList &read, qint64 takenMs);

signals:
    // Every port of the read, in the order asked; ports whose request failed are not answered.
    void sampled(const QList<KtPortSample> &samples);
    // The first failure of a read, beside sampled.
    void failed(const QString &message);

private:
    struct Chunk
    {
        QList<int> Ports;
        std::unique_ptr<KtRequestLink> Link;
    };
    void chunkDone(Chunk &chunk, const QString &failure);
    static QList<QList<int>> split(const QList<int> &ports);

    std::vector<std::unique_ptr<Chunk>> m_chunks;
    QList<KtPortSample> m_samples;
    int m_pending = 0;
    QString m_failure;
};
