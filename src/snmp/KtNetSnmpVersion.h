#pragma once

#include <QString>

// The version of the Net-SNMP library the program runs with ("5.9.3").
QString KtNetSnmpVersion();
