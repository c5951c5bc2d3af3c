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

// The next TLV at pos (short or long length form): its tag and content.
bool nextTlv(const QByteArray &d, int &pos, quint8 &tag, QByteArray &content)
{
    if (pos + 2 > d.size())
        return false;
    tag = quint8(d.at(pos));
    int length = quint8(d.at(pos + 1)), at = pos + 2;
    if (length & 0x80) {
        const int n = length & 0x7f;
        length = 0;
        for (int i = 0; i < n && at < d.size(); ++i)
            length = (length << 8) | quint8(d.at(at++));
    }
    if (at + length > d.size())
        return false;
    content = d.mid(at, length);
    pos = at + length;
    return true;
}

qint64 integerValue(const QByteArray &c)
{
    qint64 v = !c.isEmpty() && (c.at(0) & 0x80) ? -1 : 0;
    for (char ch : c)
        v = (v << 8) | quint8(ch);
    return v;
}

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
    // message: version, community, PDU; PDU: request-id, two integers, varbinds
    quint8 tag = 0, pduTag = 0;
    QByteArray message, version, community, pdu, id, first, repetitions, list;
    int pos = 0, at = 0, in = 0;
    if (!nextTlv(request, pos, tag, message) || !nextTlv(message, at, tag, version)
        || !nextTlv(message, at, tag, community) || !nextTlv(message, at, pduTag, pdu) || !nextTlv(pdu, in, tag, id)
        || !nextTlv(pdu, in, tag, first) || !nextTlv(pdu, in, tag, repetitions) || !nextTlv(pdu, in, tag, list))
        return {};
    QList<QList<quint32>> asked;
    QByteArray vb, name;
    for (int v = 0; nextTlv(list, v, tag, vb);) {
        int n = 0;
        if (!nextTlv(vb, n, tag, name))
            return {};
        asked << parseOid(name);
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
    } else if (pduTag == 0xA5) {  // non-repeaters are always 0 here
        ++m_bulk;
        const int reps = int(integerValue(repetitions));
        m_largest = std::max(m_largest.load(), reps);
        for (int r = 0; r < reps && !script.refuseStatus && !script.emptyBulk && !script.echoBulk; ++r) {
            bool all = true;
            for (auto &oid : asked) {
                const Object o = next(oid);
                all = all && o.encoded.startsWith('\x82');
                vbs << o;
                oid = o.oid;
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
        if (script.refuseStatus || script.echoBulk) {
            status = script.refuseStatus;
            for (const auto &oid : asked)
                vbs << Object{oid, integer(1)};
        }
    } else {
        return {};
    }
    QByteArray encoded;
    for (const Object &o : vbs)
        encoded += tlv(0x30, oidTlv(o.oid) + o.encoded);
    const QByteArray response = tlv(0xA2, tlv(0x02, id) + integer(status) + integer(0) + tlv(0x30, encoded));
    return tlv(0x30, tlv(0x02, version) + tlv(0x04, community) + response);
}

} // namespace TestSupport
