#pragma once

// Shared set-up of the screenshot programs: the session aimed at the agent
// that scripts/screenshots started, and saving a widget as a PNG.

#include "snmp/KtSNMPSession.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace Shot {

// Reads QSX_AGENT ("127.0.0.1:port") and starts the session in a fresh folder.
inline bool AimAtAgent(const QString &bootsFolder)
{
    const QString agent = qEnvironmentVariable("QSX_AGENT", QStringLiteral("127.0.0.1:16161"));
    bool ok = false;
    const quint16 port = agent.section(':', -1).toUShort(&ok);
    if (!ok) {
        std::fprintf(stderr, "QSX_AGENT must be host:port, not %s\n", qPrintable(agent));
        return false;
    }
    // Starting the session puts the settings back to their defaults: aim afterwards.
    QDir().mkpath(bootsFolder);
    KtSNMPSession::StartSession(bootsFolder);
    KtSNMPSession::Device().Host = agent.section(':', 0, -2);
    KtSNMPSession::Device().AgentPort = port;
    KtSNMPSession::Security().Version = 1;
    return true;
}

inline QString OutputDir()
{
    const QString dir = qEnvironmentVariable("QSX_SHOTS_DIR", QStringLiteral("docs/screenshots"));
    QDir().mkpath(dir);
    return dir;
}

// Lets the event loop run for ms (answers arrive, layouts settle).
inline void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Grabs the widget's whole window and writes name.png; false on failure.
inline bool Save(QWidget *widget, const QString &name)
{
    QWidget *window = widget->window();
    const QString path = QDir(OutputDir()).filePath(name + QStringLiteral(".png"));
    const bool ok = window->grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace Shot
