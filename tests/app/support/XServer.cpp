#include "XServer.h"

#include "XWindows.h"

#include <QProcessEnvironment>
#include <QRegularExpression>

XServer::~XServer()
{
    stop();
}

bool XServer::start(int width, int height)
{
    // -displayfd: the server takes the first free number and writes it to its output.
    const QRegularExpression number(QStringLiteral("(?:^|\\n)(\\d+)\\n"));
    const bool up = m_xvfb.launch(QStringLiteral("Xvfb"),
                                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                   QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                                   QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                                  QProcessEnvironment::systemEnvironment(),
                                  [&] {
                                      const QRegularExpressionMatch m = number.match(m_xvfb.log());
                                      if (m.hasMatch())
                                          m_display = QLatin1Char(':') + m.captured(1);
                                      return m.hasMatch();
                                  },
                                  30000);
    if (!up)
        return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    XWindows windows(m_display);
    return windows.isOpen()
           && m_openbox.launch(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, env,
                               [&] { return windows.windowManagerRuns(); }, 30000);
}

void XServer::stop()
{
    m_openbox.stop();
    m_xvfb.stop();
}
