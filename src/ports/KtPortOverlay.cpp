#include "ports/KtPortOverlay.h"

#include <cmath>

namespace KtPortOverlay {

QStringList ModeNames()
{
    return {QStringLiteral("LEDs"), QStringLiteral("Utilisation"), QStringLiteral("Errors"), QStringLiteral("VLAN")};
}

Mark MarkOf(Mode mode, const KtPortSample &s, const KtPortRates &rates)
{
    Mark m;
    if (mode == Leds)
        return m;
    m.Shown = true;
    if (!s.Answered) {
        m.Text = QStringLiteral("?");
        return m;
    }
    switch (mode) {
    case Utilisation: {
        const double u = KtPortText::Utilisation(s, rates);
        if (u < 0) {
            m.Text = QStringLiteral("-");
            break;
        }
        m.Fill = u;
        // Any traffic at all shows as at least 1 %.
        const double percent = u * 100.0;
        m.Text = QString::number(percent > 0 && percent < 1 ? 1 : int(std::lround(percent)));
        break;
    }
    case Errors:
        if (!rates.Known) {
            m.Text = QStringLiteral("-");
        } else if (rates.Errors > 0) {
            m.Alert = true;
            m.Text = QStringLiteral("!");
        } else {
            m.Shown = false;
        }
        break;
    case Vlan:
        m.Text = s.Pvid > 0 ? QString::number(s.Pvid) : QStringLiteral("?");
        break;
    case Leds:
        break;
    }
    return m;
}

QString Legend(Mode mode)
{
    switch (mode) {
    case Utilisation:
        return QStringLiteral("Number and shade: % of speed used, in or out; - not known yet; ? no answer");
    case Errors:
        return QStringLiteral("! and red frame: errors or discards since the last read; - not known yet; ? no answer");
    case Vlan:
        return QStringLiteral("Number: the port's VLAN ID (PVID); ? not known");
    case Leds:
        break;
    }
    return {};
}

} // namespace KtPortOverlay
