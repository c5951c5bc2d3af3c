#pragma once

#include "bindings/KtSNMPLedColorMapList.h"

class KtSNMPRequest2Leds;
class QLabel;
class QWidget;

// The nine panels of the front-panel picture that carry LEDs.
struct KtFrontPanelWidgets
{
    QWidget *PowerLedPanel = nullptr;
    QWidget *ConsoleLedPanel = nullptr;
    QWidget *RPSPanel = nullptr;
    QWidget *LedPanel1 = nullptr;  // ports 1-12
    QWidget *LedPanel2 = nullptr;  // ports 13-24
    QWidget *Combo1Panel = nullptr;
    QWidget *Combo2Panel = nullptr;
    QWidget *GEPanel1 = nullptr;
    QWidget *GEPanel2 = nullptr;
};

namespace KtFrontPanelLeds {

inline constexpr const char *LedStatusOid = "1.3.6.1.4.1.32473.12.11.1.9.4.1.5";
inline constexpr int PollInterval = 300;  // units of 10 ms
inline constexpr int ReadTimeout = 300;   // units of 10 ms
// The poll reads sysUpTime beside the LEDs, so that a restart of the switch shows.
inline constexpr const char *UpTimeOid = "1.3.6.1.2.1.1.3.0";
inline constexpr int UpTimeVar = 1;

// The up-time (ticks) the last answered poll read; false when it had none.
bool PolledUpTime(KtSNMPRequest2Leds &leds, quint32 &ticks);

// The colour maps of the switch's LEDs, built on first use, for the whole process.
const KtSNMPLedColorMapList &PowerMap();
const KtSNMPLedColorMapList &ConsoleMap();
const KtSNMPLedColorMapList &RpsMap();
const KtSNMPLedColorMapList &PortMap();
const KtSNMPLedColorMapList &ComboMap();

// Lays the LED shapes over the panels and starts polling the LED status
// variable. The binding belongs to owner. A failure on the way skips the
// remaining steps and is shown in statusPanel; it goes no further.
KtSNMPRequest2Leds *SetUp(QWidget *owner, const KtFrontPanelWidgets &panels, QLabel *statusPanel);

} // namespace KtFrontPanelLeds
