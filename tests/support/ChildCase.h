#pragma once

// Runs one function of this test executable in a child process beside the
// rest of the run, for a case that mostly waits (a fixed multi-second
// delay of the code under test). The child runs the whole set-up and that
// one function; the parent's copy of the function collects its result.
//
//   void initTestCase() { ...; m_slow.start("slowCase"); }
//   void slowCase()
//   {
//       if (m_slow.inParent()) {
//           QVERIFY2(m_slow.passed(), qPrintable(m_slow.output()));
//           return;
//       }
//       ... the case itself ...
//   }

#include "support/TestProcess.h"

namespace TestSupport {

class ChildCase : public TestProcess
{
public:
    ChildCase();
    ~ChildCase() override;

    // Starts the child, unless this process is such a child itself.
    void start(const char *function);
    // True in the parent once start() ran: its function only collects.
    bool inParent() const { return m_started; }
    // Waits for the child; true when it ran the function and passed.
    bool passed(int timeoutMs = 60000);
    // What the child printed.
    QString output() const { return log(); }

    // Whether this process is a child started by ChildCase.
    static bool isChild();

private:
    bool m_started = false;
};

} // namespace TestSupport
