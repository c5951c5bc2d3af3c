#include "support/BulkResponder.h"

#include "support/LoopbackUdp.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace TestSupport {

namespace {

// Just enough BER for v2c messages with short fields.
QByteArray tlv(quint8 tag, const QByteArray &content)
{
    QByteArray out(1, char(tag));
    const int n = int(content.size());
    if (n < 128) {
        out += char(n);
    } else if (n < 256) {
        out += '\x81';
        out += char(n);
    } else {
        out += '\x82';
        out += char(n >> 8);
        out += char(n & 0xff);
    }
    return out + content;
}

QByteArray integer(qint64 v)
{
    QByteArray b;
    do {
        b.prepend(char(v & 0xff));
        v >>= 8;
    } while (!((v == 0 && !(b.at(0) & 0x80)) || (v == -1 && (b.at(0) & 0x80))));
    return tlv(0x02, b);
}

void base128(QByteArray &out, quint32 id)
{
    QByteArray b(1, char(id & 0x7f));
    for (id >>= 7; id; id >>= 7)
        b.prepend(char(0x80 | (id & 0x7f)));
    out += b;
}

QByteArray oidTlv(const QList<quint32> &oid)
{
    QByteArray c;
    if (oid.size() >= 2) {
        base128(c, oid.at(0) * 40 + oid.at(1));
        for (qsizetype i = 2; i < oid.size(); ++i)
            base128(c, oid.at(i));
    }
    return tlv(0x06, c);
}

QList<quint32> parseOid(const QByteArray &c)
{
    QList<quint32> oid;
    quint32 id = 0;
    for (char ch : c) {
        id = (id << 7) | quint32(quint8(ch) & 0x7f);
        if (quint8(ch) & 0x80)
            continue;
        if (oid.isEmpty()) {
            oid << (id < 80 ? id / 40 : 2) << (id < 80 ? id % 40 : id - 80);
        } else {
            oid << id;
        }
        id = 0;
    }
    return oid;
}

class Reader
{
public:
    Reader(const QByteArray &data, int from, int to) : m_d(data), m_pos(from), m_end(to) {}
    // The next TLV: its tag, where its content starts and how long it is.
    bool next(quint8 &tag, int &start, int &length)
    {
        if (m_pos + 2 > m_end)
            return false;
        tag = quint8(m_d.at(m_pos));
        int l = quint8(m_d.at(m_pos + 1));
        m_pos += 2;
        if (l & 0x80) {
            const int n = l & 0x7f;
            if (n > 3 || m_pos + n > m_end)
                return false;
            l = 0;
            for (int i = 0; i < n; ++i)
                l = (l << 8) | quint8(m_d.at(m_pos++));
        }
        if (m_pos + l > m_end)
            return false;
        start = m_pos;
        length = l;
        m_pos += l;
        return true;
    }
    qint64 integer(int start, int length) const
    {
        qint64 v = length > 0 && (m_d.at(start) & 0x80) ? -1 : 0;
        for (int i = 0; i < length; ++i)
            v = (v << 8) | quint8(m_d.at(start + i));
        return v;
    }

private:
    const QByteArray &m_d;
    int m_pos, m_end;
};

} // namespace

BulkResponder::BulkResponder(const QMap<QString, QString> &objects)
    : m_fd(openUdpSocket()), m_port(localPort(m_fd))
{
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        Object o;
        for (const QString &part : it.key().split(u'.'))
            o.oid << part.toUInt();
        bool number = false;
        const qint64 v = it.value().toLongLong(&number);
        o.encoded = number ? integer(v) : tlv(0x04, it.value().toUtf8());
        m_objects << o;
    }
    std::sort(m_objects.begin(), m_objects.end(), [](const Object &a, const Object &b) { return a.oid < b.oid; });
    m_thread = std::thread([this] {
        char in[65536];
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n = ::recvfrom(m_fd, in, sizeof in, 0, reinterpret_cast<sockaddr *>(&from), &len);
            if (n <= 0)
                continue;
            const QByteArray out = answer(QByteArray(in, int(n)));
            if (!out.isEmpty())
                ::sendto(m_fd, out.constData(), size_t(out.size()), 0, reinterpret_cast<sockaddr *>(&from), len);
        }
    });
}

BulkResponder::~BulkResponder()
{
    m_stop = true;
    m_thread.join();
    ::close(m_fd);
}

void BulkResponder::setScript(const Script &script)
{
    std::lock_guard lock(m_mutex);
    m_script = script;
}

QByteArray BulkResponder::answer(const QByteArray &request)
{
    quint8 tag = 0;
    int start = 0, length = 0;
    Reader message(request, 0, int(request.size()));
    if (!message.next(tag, start, length) || tag != 0x30)
        return {};
    Reader fields(request, start, start + length);
    int vStart, vLen, cStart, cLen, pStart, pLen;
    quint8 vTag, cTag, pduTag;
    if (!fields.next(vTag, vStart, vLen) || !fields.next(cTag, cStart, cLen) || !fields.next(pduTag, pStart, pLen))
        return {};
    Reader pdu(request, pStart, pStart + pLen);
    int idStart, idLen, aStart, aLen, bStart, bLen, lStart, lLen;
    quint8 t1, t2, t3, t4;
    if (!pdu.next(t1, idStart, idLen) || !pdu.next(t2, aStart, aLen) || !pdu.next(t3, bStart, bLen)
        || !pdu.next(t4, lStart, lLen))
        return {};
    QList<QList<quint32>> asked;
    Reader list(request, lStart, lStart + lLen);
    int vbStart, vbLen;
    quint8 vbTag;
    while (list.next(vbTag, vbStart, vbLen)) {
        Reader vb(request, vbStart, vbStart + vbLen);
        int oStart, oLen;
        quint8 oTag;
        if (!vb.next(oTag, oStart, oLen) || oTag != 0x06)
            return {};
        asked << parseOid(request.mid(oStart, oLen));
    }
    const Script script = [this] {
        std::lock_guard lock(m_mutex);
        return m_script;
    }();

    // The object after oid, or endOfMibView at oid.
    auto next = [this](const QList<quint32> &oid) {
        const auto it = std::upper_bound(m_objects.cbegin(), m_objects.cend(), oid,
                                         [](const QList<quint32> &o, const Object &x) { return o < x.oid; });
        return it == m_objects.cend() ? Object{oid, QByteArray("\x82\x00", 2)} : *it;
    };
    QList<Object> vbs;
    int status = 0;
    if (pduTag == 0xA1) {
        ++m_next;
        for (const auto &oid : asked)
            vbs << next(oid);
    } else if (pduTag == 0xA5) {
        ++m_bulk;
        const int nonRepeaters = int(message.integer(aStart, aLen));
        const int repetitions = int(message.integer(bStart, bLen));
        m_largest = std::max(m_largest.load(), repetitions);
        if (script.refuseStatus) {
            status = script.refuseStatus;
            for (const auto &oid : asked)
                vbs << Object{oid, QByteArray("\x05\x00", 2)};
        } else if (script.echoBulk) {
            for (const auto &oid : asked)
                vbs << Object{oid, integer(1)};
        } else if (!script.emptyBulk) {
            QList<QList<quint32>> at = asked;
            for (int i = 0; i < nonRepeaters && i < at.size(); ++i)
                vbs << next(at.at(i));
            for (int r = 0; r < repetitions; ++r) {
                bool all = true;
                for (qsizetype j = nonRepeaters; j < at.size(); ++j) {
                    const Object o = next(at.at(j));
                    all = all && o.encoded.startsWith('\x82');
                    vbs << o;
                    at[j] = o.oid;
                }
                if (all)
                    break;
            }
            const int count = int(vbs.size());
            if (script.silentAbove && count > script.silentAbove)
                return {};
            if (script.tooBigAbove && count > script.tooBigAbove) {
                status = 1;
                vbs.clear();
            }
            if (script.truncateTo && vbs.size() > script.truncateTo)
                vbs.resize(script.truncateTo);
        }
    } else {
        return {};
    }

    QByteArray encoded;
    for (const Object &o : vbs)
        encoded += tlv(0x30, oidTlv(o.oid) + o.encoded);
    const QByteArray response = tlv(0xA2, tlv(0x02, request.mid(idStart, idLen)) + integer(status) + integer(0)
                                              + tlv(0x30, encoded));
    return tlv(0x30, integer(message.integer(vStart, vLen)) + tlv(0x04, request.mid(cStart, cLen)) + response);
}

} // namespace TestSupport
