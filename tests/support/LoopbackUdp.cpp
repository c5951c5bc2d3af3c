#include "support/LoopbackUdp.h"

#include <QFile>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

namespace TestSupport {

LoopbackAddress::LoopbackAddress(Loopback family, quint16 port)
{
    if (family == Loopback::V6) {
        auto *a = reinterpret_cast<sockaddr_in6 *>(&storage);
        a->sin6_family = AF_INET6;
        a->sin6_addr = in6addr_loopback;
        a->sin6_port = htons(port);
        length = sizeof *a;
    } else {
        auto *a = reinterpret_cast<sockaddr_in *>(&storage);
        a->sin_family = AF_INET;
        a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a->sin_port = htons(port);
        length = sizeof *a;
    }
}

quint16 LoopbackAddress::port() const
{
    if (storage.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&storage)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in *>(&storage)->sin_port);
}

int openUdpSocket(Loopback family, quint16 port)
{
    const LoopbackAddress address(family, port);
    const int fd = ::socket(address.storage.ss_family, SOCK_DGRAM, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, address.get(), address.length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

quint16 localPort(int fd)
{
    LoopbackAddress bound;
    bound.length = sizeof bound.storage;
    if (fd < 0 || ::getsockname(fd, bound.get(), &bound.length) != 0)
        return 0;
    return bound.port();
}

quint16 freeUdpPort(Loopback family)
{
    const int fd = openUdpSocket(family);
    const quint16 port = localPort(fd);
    if (fd >= 0)
        ::close(fd);
    return port;
}

bool udpPortBound(quint16 port)
{
    // Local addresses in /proc are "hex address:hex port".
    const QByteArray needle = QStringLiteral(":%1 ").arg(port, 4, 16, QLatin1Char('0')).toUpper().toLatin1();
    for (const char *table : {"/proc/net/udp", "/proc/net/udp6"}) {
        QFile f(QString::fromLatin1(table));
        if (f.open(QIODevice::ReadOnly) && f.readAll().toUpper().contains(needle))
            return true;
    }
    return false;
}

namespace {

// One BER element with a short-form length (every part here is small).
QByteArray tlv(char tag, const QByteArray &value)
{
    return QByteArray(1, tag) + char(value.size()) + value;
}

QByteArray sysUpTimeGet(int version, const QByteArray &community)
{
    static const QByteArray sysUpTime0("\x2b\x06\x01\x02\x01\x01\x03\x00", 8);
    const QByteArray varbind = tlv(0x30, tlv(0x06, sysUpTime0) + QByteArray("\x05\x00", 2));
    const QByteArray integerZero("\x02\x01\x00", 3);
    const QByteArray pdu = tlv(char(0xa0), QByteArray("\x02\x01\x01", 3) + integerZero + integerZero
                                               + tlv(0x30, varbind));
    return tlv(0x30, tlv(0x02, QByteArray(1, char(version))) + tlv(0x04, community) + pdu);
}

} // namespace

bool snmpGetAnswered(Loopback family, quint16 port, int version, const QByteArray &community, int waitMs)
{
    const int fd = openUdpSocket(family);
    if (fd < 0)
        return false;
    const QByteArray request = sysUpTimeGet(version, community);
    const LoopbackAddress agent(family, port);
    bool answered = false;
    if (::sendto(fd, request.constData(), size_t(request.size()), 0, agent.get(), agent.length) > 0) {
        pollfd p{fd, POLLIN, 0};
        char buf[2048];
        answered = ::poll(&p, 1, waitMs) > 0 && ::recv(fd, buf, sizeof buf, 0) > 0;
    }
    ::close(fd);
    return answered;
}

SilentPort::SilentPort(quint16 port, Loopback family)
    : m_fd(openUdpSocket(family, port)), m_port(localPort(m_fd))
{
}

SilentPort::~SilentPort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int SilentPort::received()
{
    char buf[2048];
    pollfd p{m_fd, POLLIN, 0};
    while (m_fd >= 0 && ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
        if (::recv(m_fd, buf, sizeof buf, 0) < 0)
            break;
        ++m_count;
    }
    return m_count;
}

} // namespace TestSupport
