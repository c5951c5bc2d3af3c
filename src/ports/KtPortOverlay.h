#pragma once

#include "ports/KtPortSample.h"

#include <QString>
#include <QStringList>

// What the front panel shows over each port besides the LEDs. Every mark
// carries text or a shape as well as a colour, so that it reads without
// telling colours apart.
namespace KtPortOverlay {

enum Mode { Leds, Utilisation, Errors, Vlan };

QStringList ModeNames();  // in Mode order, as the View choice lists them

struct Mark
{
    bool Shown = false;   // nothing is drawn over the port when false
    QString Text;         // written on the port ("37", "!", "20", "?")
    double Fill = 0;      // 0..1: how much of the port is shaded (Utilisation)
    bool Alert = false;   // drawn with the alert frame and triangle (Errors)
};

// The mark of one port from its last sample and the rates since the one before.
Mark MarkOf(Mode mode, const KtPortSample &sample, const KtPortRates &rates);

// One line that explains the marks of a mode; empty for Leds.
QString Legend(Mode mode);

} // namespace KtPortOverlay
