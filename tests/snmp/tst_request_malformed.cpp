// Answers that do not fit their request, from a scripted responder on
// loopback that answers every request with the PDU the test chose.

#include "SnmpResults.h"
#include "support/ExceptionCode.h"
#include "support/LoopbackUdp.h"
#include "support/SnmpTestSupport.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPSession.h"

#include <QTest>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

QByteArray tlv(char tag, const QByteArray &content)  // short lengths only
{
    return QByteArray(1, tag) + char(content.size()) + content;
}

const QByteArray Contact("\x06\x08\x2b\x06\x01\x02\x01\x01\x04\x00", 10);  // sysContact.0
const QByteArray UpTime("\x06\x08\x2b\x06\x01\x02\x01\x01\x03\x00", 10);   // sysUpTime.0

// Answers each v2c request with the error-status and varbinds it is given.
class ScriptedAgent
{
public:
    ScriptedAgent() : m_fd(TestSupport::openUdpSocket()), m_port(TestSupport::localPort(m_fd))
    {
        m_thread = std::thread([this] {
            char in[1500];
            sockaddr_in from{};
            socklen_t len = sizeof from;
            while (!m_stop) {
                pollfd p{m_fd, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0)
                    continue;
                const ssize_t n = ::recvfrom(m_fd, in, sizeof in, 0, reinterpret_cast<sockaddr *>(&from), &len);
                // 30 L, version, community, PDU tag and length, request-id: all short.
                const int id = 5 + 2 + quint8(in[6]) + 2;
                if (n < 9 || id + 2 > n || id + 2 + in[id + 1] > n)
                    continue;
                const QByteArray community(in + 7, in[6]), request(in + id, 2 + in[id + 1]);
                std::lock_guard lock(m_mutex);
                const QByteArray pdu = tlv('\xa2', request + m_status + QByteArray("\x02\x01\x00", 3) + tlv(0x30, m_vbs));
                const QByteArray out = tlv(0x30, QByteArray("\x02\x01\x01", 3) + tlv(0x04, community) + pdu);
                ::sendto(m_fd, out.constData(), size_t(out.size()), 0, reinterpret_cast<sockaddr *>(&from), len);
            }
        });
    }
    ~ScriptedAgent()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    quint16 port() const { return m_port; }
    void answerWith(const QByteArray &status, const QByteArray &vbs)
    {
        std::lock_guard lock(m_mutex);
        m_status = status;
        m_vbs = vbs;
    }

private:
    int m_fd;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    QByteArray m_status, m_vbs;
    std::thread m_thread;
};

} // namespace

class TestRequestMalformed : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    ScriptedAgent m_agent;

private slots:
    void initTestCase() { KtSNMPSession::StartSession(m_folder.path()); }
    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void answersThatDoNotFit_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("vbs");
        QTest::addColumn<int>("code");
        const QByteArray ok("\x02\x01\x00", 3), name = tlv(0x30, Contact + tlv(0x04, "noc"));
        const QByteArray ticks = tlv(0x30, UpTime + tlv(0x43, "\x64")), both = ticks + name;
        QTest::newRow("fitting") << "get" << ok << both << 0;
        QTest::newRow("no varbinds") << "get" << ok << QByteArray() << -529;
        QTest::newRow("too few") << "get" << ok << name << -529;
        QTest::newRow("too many") << "get" << ok << both + name << -529;
        QTest::newRow("other objects") << "get" << ok << name + ticks << -529;
        QTest::newRow("error-status 99") << "get" << QByteArray("\x02\x01\x63") << both << -528;
        QTest::newRow("error-status -5") << "get" << QByteArray("\x02\x01\xfb") << both << -528;
        QTest::newRow("error-status 1408") << "get" << QByteArray("\x02\x02\x05\x80") << both << -528;
        QTest::newRow("genErr") << "get" << QByteArray("\x02\x01\x05") << both << -105;
        QTest::newRow("walk, no varbinds") << "walk" << ok << QByteArray() << -529;
        QTest::newRow("set, fitting") << "set" << ok << name << 0;
        QTest::newRow("set, no varbinds") << "set" << ok << QByteArray() << -529;
        QTest::newRow("set, other object") << "set" << ok << tlv(0x30, UpTime + tlv(0x04, "noc")) << -529;
    }
    void answersThatDoNotFit()
    {
        QFETCH(QString, op);
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, vbs);
        QFETCH(int, code);
        m_agent.answerWith(status, vbs);
        KtSNMPVarList l = SnmpdTest::systemList();  // sysUpTime, sysContact (writable) stay
        for (int i : {4, 1, 0})
            l.Get(i).Access |= KtAccess::Invalid;
        l.Kind = op == QLatin1String("walk") ? KtKind::MVT_UMV : KtKind::SVT_SV;
        KtSNMPRequest r(l);
        SnmpdTest::aim(r, m_agent.port(), SnmpdTest::v2c());
        r.Retries = 0;
        const QString text = code == -529 ? KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngBadAnswer)
                                          : StatusToError(code == -528 ? 99 : code == 0 ? 0 : -100 - code).text;
        QString message;
        const int thrown = codeOf([&] { op == QLatin1String("set") ? r.Store() : r.Fetch(true); }, &message);
        if (thrown)
            QCOMPARE(message, text);
        QCOMPARE(thrown, code);
        QList<KtSNMPError> results;
        op == QLatin1String("set") ? r.StoreAsync(KeepResult, &results) : r.FetchAsync(KeepResult, &results, true);
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 20000);
        QCOMPARE(results.first().Code, code);
        QCOMPARE(results.first().Message, text);
    }
};

QTEST_GUILESS_MAIN(TestRequestMalformed)
#include "tst_request_malformed.moc"
