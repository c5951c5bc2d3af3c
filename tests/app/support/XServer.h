#pragma once

// Xvfb on a display number it picks itself, with the openbox window
// manager, for tests that run a program on a real X server.

#include "HelperProgram.h"

#include <QString>

class XServer
{
public:
    XServer() = default;
    ~XServer();

    // Starts both; false (with their logs shown) when either does not come up.
    bool start(int width, int height);
    void stop();

    // ":N"
    QString display() const { return m_display; }

private:
    HelperProgram m_xvfb{QStringLiteral("Xvfb")};
    HelperProgram m_openbox{QStringLiteral("openbox")};
    QString m_display;
};
