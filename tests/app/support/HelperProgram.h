#pragma once

// Any program a test runs beside itself (an X server, a window manager,
// the module), with TestProcess's log, stop and death-of-parent handling.

#include "support/TestProcess.h"

class HelperProgram : public TestSupport::TestProcess
{
public:
    explicit HelperProgram(const QString &name) : TestProcess(name) {}
    ~HelperProgram() override { stop(); }

    using TestProcess::launch;
    using TestProcess::workFolder;
};
