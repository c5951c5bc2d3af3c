#pragma once

// UDP on the loopback interface for tests: free ports, a port that never
// answers, and a hand-built SNMP get to see whether an agent is up.

#include <QByteArray>
#include <QtGlobal>

#include <sys/socket.h>

namespace TestSupport {

enum class Loopback { V4, V6 };

// 127.0.0.1 or ::1 with a port, ready for bind/sendto.
struct LoopbackAddress
{
    explicit LoopbackAddress(Loopback family = Loopback::V4, quint16 port = 0);
    const sockaddr *get() const { return reinterpret_cast<const sockaddr *>(&storage); }
    sockaddr *get() { return reinterpret_cast<sockaddr *>(&storage); }
    quint16 port() const;

    sockaddr_storage storage{};
    socklen_t length = 0;
};

// A UDP socket bound to the loopback address (port 0: any free one); -1 on failure.
int openUdpSocket(Loopback family = Loopback::V4, quint16 port = 0);
// The local port of a bound socket, 0 on failure.
quint16 localPort(int fd);

// A UDP port on the loopback address that nothing is bound to right now.
quint16 freeUdpPort(Loopback family = Loopback::V4);

// Whether some socket is bound to this UDP port (IPv4 or IPv6, any address).
bool udpPortBound(quint16 port);

// Sends an SNMP get of sysUpTime.0 (version 0 = v1, 1 = v2c) and waits up
// to waitMs for any answer.
bool snmpGetAnswered(Loopback family, quint16 port, int version, const QByteArray &community, int waitMs);

// A bound UDP socket that never answers; counts what reaches it.
class SilentPort
{
public:
    explicit SilentPort(quint16 port = 0, Loopback family = Loopback::V4);
    ~SilentPort();
    SilentPort(const SilentPort &) = delete;
    SilentPort &operator=(const SilentPort &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    quint16 port() const { return m_port; }
    // Datagrams received so far (drains the socket).
    int received();

private:
    int m_fd = -1;
    quint16 m_port = 0;
    int m_count = 0;
};

} // namespace TestSupport
