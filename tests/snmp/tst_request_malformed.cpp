// Answers that do not fit their request, from a scripted responder on
// loopback that answers every request with the PDU the test chose.

#include "SnmpResults.h"
#include "SnmpTestSupport.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

QByteArray tlv(quint8 tag, const QByteArray &content)
{
    QByteArray out(1, char(tag));
    const qsizetype n = content.size();
    if (n < 0x80)
        out += char(n);
    else if (n < 0x100)
        out += QByteArray("\x81") + char(n);
    else
        out += QByteArray("\x82") + char(n >> 8) + char(n & 0xFF);
    return out + content;
}

QByteArray berInteger(qint64 v)
{
    QByteArray body;
    do {
        body.prepend(char(v & 0xFF));
        v >>= 8;
    } while (!((v == 0 && !(body.front() & 0x80)) || (v == -1 && (body.front() & 0x80))));
    return tlv(0x02, body);
}

QByteArray berOid(const QString &text)
{
    const QStringList parts = text.split(u'.');
    QByteArray body(1, char(parts.at(0).toUInt() * 40 + parts.at(1).toUInt()));
    for (qsizetype i = 2; i < parts.size(); ++i) {
        quint32 id = parts.at(i).toUInt();
        QByteArray sub(1, char(id & 0x7F));
        while (id >>= 7)
            sub.prepend(char(0x80 | (id & 0x7F)));
        body += sub;
    }
    return tlv(0x06, body);
}

// The content of the TLV at pos; pos moves past it.
QByteArray takeTlv(const QByteArray &in, qsizetype &pos, quint8 *tag = nullptr)
{
    if (pos + 2 > in.size())
        return {};
    if (tag)
        *tag = quint8(in[pos]);
    qsizetype len = quint8(in[pos + 1]);
    pos += 2;
    if (len & 0x80) {
        const int bytes = len & 0x7F;
        len = 0;
        for (int k = 0; k < bytes && pos < in.size(); ++k)
            len = (len << 8) | quint8(in[pos++]);
    }
    const QByteArray content = in.mid(pos, len);
    pos += len;
    return content;
}

using Varbinds = QList<QPair<QString, QByteArray>>;  // name, encoded value

struct Script
{
    qint64 errorStatus = 0;
    Varbinds vbs;
};

// Answers each v1/v2c request with the script's response PDU.
class ScriptedAgent
{
public:
    ScriptedAgent()
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedAgent()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    quint16 port() const { return m_port; }
    void answerWith(const Script &s)
    {
        std::lock_guard lock(m_mutex);
        m_script = s;
    }

private:
    void run()
    {
        char buf[65536];
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n = ::recvfrom(m_fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&from), &len);
            if (n <= 0)
                continue;
            const QByteArray reply = answer(QByteArray(buf, int(n)));
            ::sendto(m_fd, reply.constData(), size_t(reply.size()), 0, reinterpret_cast<sockaddr *>(&from), len);
        }
    }

    QByteArray answer(const QByteArray &request)
    {
        qsizetype pos = 0;
        const QByteArray message = takeTlv(request, pos);
        pos = 0;
        const QByteArray version = takeTlv(message, pos);
        const QByteArray community = takeTlv(message, pos);
        const QByteArray pdu = takeTlv(message, pos);
        pos = 0;
        const QByteArray requestId = takeTlv(pdu, pos);
        Script s;
        {
            std::lock_guard lock(m_mutex);
            s = m_script;
        }
        QByteArray vbs;
        for (const auto &[name, value] : s.vbs)
            vbs += tlv(0x30, berOid(name) + value);
        const QByteArray response = tlv(0x02, requestId) + berInteger(s.errorStatus) + berInteger(0) + tlv(0x30, vbs);
        return tlv(0x30, tlv(0x02, version) + tlv(0x04, community) + tlv(0xA2, response));
    }

    int m_fd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    Script m_script;
    std::thread m_thread;
};

const QString Contact = QStringLiteral("1.3.6.1.2.1.1.4.0");
const QString UpTime = QStringLiteral("1.3.6.1.2.1.1.3.0");
const QString IfDescr = QStringLiteral("1.3.6.1.2.1.2.2.1.2");

QByteArray text(const QByteArray &s) { return tlv(0x04, s); }

} // namespace

class TestRequestMalformed : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    ScriptedAgent m_agent;

    KtSNMPVarList list(const QString &kind) const
    {
        KtSNMPVarList l;
        if (kind == QLatin1String("walk")) {
            l.AppendVar(IfDescr, "ifDescr", KtType::DisplayStr, KtAccess::ReadOnly);
            l.Kind = KtKind::MVT_UMV;
            return l;
        }
        l.AppendVar(Contact.chopped(2), "sysContact", KtType::DisplayStr, KtAccess::ReadWrite);
        l.AppendVar(UpTime.chopped(2), "sysUpTime", KtType::Integer, KtAccess::ReadOnly);
        l.Kind = KtKind::SVT_SV;
        return l;
    }

private slots:
    void initTestCase() { KtSNMPSession::StartSession(m_folder.path()); }
    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void answersThatDoNotFit_data()
    {
        QTest::addColumn<QString>("op");  // get, set, walk
        QTest::addColumn<qint64>("status");
        QTest::addColumn<Varbinds>("vbs");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("values");
        const QByteArray name = text("noc");
        const QByteArray ticks = tlv(0x43, "\x64");
        QTest::newRow("fitting answer") << "get" << 0ll << Varbinds{{Contact, name}, {UpTime, ticks}} << 0 << "noc|100";
        QTest::newRow("no varbinds") << "get" << 0ll << Varbinds{} << -529 << "";
        QTest::newRow("too few varbinds") << "get" << 0ll << Varbinds{{Contact, name}} << -529 << "";
        QTest::newRow("too many varbinds")
            << "get" << 0ll << Varbinds{{Contact, name}, {UpTime, ticks}, {UpTime, ticks}} << -529 << "";
        QTest::newRow("other objects") << "get" << 0ll << Varbinds{{UpTime, ticks}, {Contact, name}} << -529 << "";
        QTest::newRow("wrong types")
            << "get" << 0ll << Varbinds{{Contact, berInteger(7)}, {UpTime, tlv(0x46, QByteArray("\x01\0\0\0\0", 5))}}
            << 0 << "(NULL)|(NULL)";
        QTest::newRow("error-status 99") << "get" << 99ll << Varbinds{{Contact, name}, {UpTime, ticks}} << -528 << "";
        QTest::newRow("error-status -5") << "get" << -5ll << Varbinds{{Contact, name}, {UpTime, ticks}} << -528 << "";
        QTest::newRow("error-status 1408")
            << "get" << 1408ll << Varbinds{{Contact, name}, {UpTime, ticks}} << -528 << "";
        QTest::newRow("genErr") << "get" << 5ll << Varbinds{{Contact, name}, {UpTime, ticks}} << -105 << "";
        QTest::newRow("walk, no varbinds") << "walk" << 0ll << Varbinds{} << -529 << "";
        QTest::newRow("set, fitting answer") << "set" << 0ll << Varbinds{{Contact, name}} << 0 << "";
        QTest::newRow("set, no varbinds") << "set" << 0ll << Varbinds{} << -529 << "";
        QTest::newRow("set, other object") << "set" << 0ll << Varbinds{{UpTime, name}} << -529 << "";
    }
    void answersThatDoNotFit()
    {
        QFETCH(QString, op);
        QFETCH(qint64, status);
        QFETCH(Varbinds, vbs);
        QFETCH(int, code);
        QFETCH(QString, values);
        m_agent.answerWith({status, vbs});
        const QString message = code == -529 ? KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngBadAnswer)
                                             : StatusToError(code == 0 ? 0 : code == -528 ? 99 : -100 - code).text;
        KtSNMPRequest r(list(op));
        SnmpdTest::aim(r, m_agent.port(), SnmpdTest::v2c());
        r.Retries = 0;
        r.Vars.Get(0).Value = QStringLiteral("noc");

        // Synchronous first, then the same answer asynchronously.
        int thrown = 0;
        QString thrownMessage;
        try {
            if (op == QLatin1String("set"))
                r.Store();
            else
                r.Fetch(true);
        } catch (const KtException &e) {
            thrown = e.code();
            thrownMessage = e.message();
        }
        QCOMPARE(thrown, code);
        if (code != 0)
            QCOMPARE(thrownMessage, message);
        else if (!values.isEmpty())
            QCOMPARE(r.Vars.Get(0).Value + u'|' + r.Vars.Get(1).Value, values);

        QList<KtSNMPError> results;
        if (op == QLatin1String("set"))
            r.StoreAsync(KeepResult, &results);
        else
            r.FetchAsync(KeepResult, &results, true);
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 5000);
        QCOMPARE(results.first().Code, code);
        QCOMPARE(results.first().Message, message);
        if (code != 0)
            QVERIFY(results.first().Finished);
    }
};

QTEST_GUILESS_MAIN(TestRequestMalformed)
#include "tst_request_malformed.moc"
