#pragma once

// The stock snmpd on 127.0.0.1 and a free high port, with a generated
// configuration in a temporary folder, stopped on destruction.

#include "support/LoopbackUdp.h"
#include "support/TestProcess.h"

#include <QString>

namespace SnmpdTest {

using TestSupport::SilentPort;

// Pass phrases of every user of the generated configuration.
inline constexpr const char *AuthPass = "authpass-1";
inline constexpr const char *PrivPass = "privpass-1";

// A UDP port on 127.0.0.1 that nothing listens on right now.
inline quint16 freeUdpPort()
{
    return TestSupport::freeUdpPort();
}

class SnmpdProcess : public TestSupport::TestProcess
{
public:
    // extraConfig: more snmpd.conf lines.
    explicit SnmpdProcess(const QString &extraConfig = {});
    ~SnmpdProcess() override;

    quint16 port() const { return m_port; }
    QString folder() const { return workFolder(); }

    // On a free port, or on the given one (a restart); true once it answers.
    bool start(quint16 port = 0);

private:
    QString m_extra;
    quint16 m_port = 0;
};

} // namespace SnmpdTest
