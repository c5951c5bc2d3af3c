#pragma once

// A scripted SNMPv2c responder on 127.0.0.1 serving a table of the test's
// own: it answers get-next and get-bulk like an agent and can misbehave
// with get-bulk on purpose (tooBig, short answers, refusal, silence).

#include <QList>
#include <QMap>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

namespace TestSupport {

class BulkResponder
{
public:
    struct Script
    {
        int tooBigAbove = 0;    // tooBig for a get-bulk answer of more varbinds (0: never)
        int silentAbove = 0;    // no answer at all for such a get-bulk (0: never)
        int truncateTo = 0;     // a get-bulk answer stops after this many varbinds (0: never)
        int refuseStatus = 0;   // error-status for every get-bulk (0: none)
        bool emptyBulk = false; // a get-bulk answer without varbinds
        bool echoBulk = false;  // a get-bulk answered like a get: the names asked, as they are
    };

    // objects: dotted OID -> value; a value that parses as a number goes as
    // INTEGER, any other as OCTET STRING.
    explicit BulkResponder(const QMap<QString, QString> &objects);
    ~BulkResponder();
    BulkResponder(const BulkResponder &) = delete;
    BulkResponder &operator=(const BulkResponder &) = delete;

    quint16 port() const { return m_port; }
    void setScript(const Script &script);
    // Requests received since the last call, by kind.
    int takeBulkRequests() { return m_bulk.exchange(0); }
    int takeNextRequests() { return m_next.exchange(0); }
    // The largest max-repetitions asked since the last call.
    int takeLargestRepetitions() { return m_largest.exchange(0); }

private:
    QByteArray answer(const QByteArray &request);

    struct Object
    {
        QList<quint32> oid;
        QByteArray encoded;  // the whole value TLV
    };
    QList<Object> m_objects;  // in OID order
    int m_fd = -1;
    quint16 m_port = 0;
    std::mutex m_mutex;
    Script m_script;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_bulk{0}, m_next{0}, m_largest{0};
    std::thread m_thread;
};

} // namespace TestSupport
