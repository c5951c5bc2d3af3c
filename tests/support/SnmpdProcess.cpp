#include "support/SnmpdProcess.h"

#include <QDir>
#include <QFile>

namespace SnmpdTest {

namespace {

// Communities "cobalt" (read) and "lantern" (write); v3 users for every
// protocol pair the engine supports; "sysonly" and viewuser see the system group only.
QByteArray configuration()
{
    const QByteArray a = QByteArray("\"") + AuthPass + "\"", p = QByteArray("\"") + PrivPass + "\"";
    return "dontLogTCPWrappersConnects yes\n"
           "rocommunity cobalt 127.0.0.1\n"
           "rwcommunity lantern 127.0.0.1\n"
           "createUser md5des MD5 " + a + " DES " + p + "\n"
           "createUser shades SHA " + a + " DES " + p + "\n"
           "createUser shaaes SHA " + a + " AES " + p + "\n"
           "createUser sha256aes256 SHA-256 " + a + " AES-256 " + p + "\n"
           "createUser sha224aes192 SHA-224 " + a + " AES-192 " + p + "\n"
           "createUser sha384des SHA-384 " + a + " DES " + p + "\n"
           "createUser sha512aes SHA-512 " + a + " AES " + p + "\n"
           "createUser shaonly SHA " + a + "\n"
           "createUser noauth\n"
           "rwuser md5des priv\n"
           "rwuser shades priv\n"
           "rwuser shaaes priv\n"
           "rwuser sha256aes256 priv\n"
           "rwuser sha224aes192 priv\n"
           "rwuser sha384des priv\n"
           "rwuser sha512aes priv\n"
           "rwuser shaonly auth\n"
           "createUser viewuser SHA " + a + " AES " + p + "\n"
           "rouser noauth noauth\n"
           "view systemonly included .1.3.6.1.2.1.1\n"
           "rocommunity sysonly 127.0.0.1 -V systemonly\n"
           "rouser viewuser priv -V systemonly\n";
}

} // namespace

SnmpdProcess::SnmpdProcess(const QString &extraConfig) : TestProcess(QStringLiteral("snmpd")), m_extra(extraConfig)
{
    setStopGrace(3000);
}

SnmpdProcess::~SnmpdProcess()
{
    stop();
}

bool SnmpdProcess::start(quint16 port)
{
    m_port = port ? port : freeUdpPort();
    const QString conf = QDir(folder()).filePath(QStringLiteral("snmpd.conf"));
    const QString state = QDir(folder()).filePath(QStringLiteral("state"));
    QFile f(conf);
    if (!f.open(QIODevice::WriteOnly) || !QDir().mkpath(state))
        return false;
    f.write(configuration());
    f.write(m_extra.toUtf8());
    f.close();
    const quint16 listening = m_port;
    return launch(QStringLiteral("snmpd"),
                  {QStringLiteral("-f"), QStringLiteral("-Lo"), QStringLiteral("-C"), QStringLiteral("-c"), conf,
                   QStringLiteral("-I"), QStringLiteral("-smux"), QStringLiteral("udp:127.0.0.1:%1").arg(m_port)},
                  TestSupport::netSnmpEnvironment(state, state),
                  [listening] {
                      return TestSupport::snmpGetAnswered(TestSupport::Loopback::V4, listening, 1, "cobalt", 500);
                  },
                  30000);
}

} // namespace SnmpdTest
