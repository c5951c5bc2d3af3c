#pragma once

// Kept for tests that still include it by this name; the helper lives in tests/support.
#include "support/AgentProcess.h"
