#include "ports/KtPortMap.h"

#include <QStringList>

#include <algorithm>

namespace KtPortMap {

namespace {

// The picture's layout: copper ports in two blocks of six columns, odd
// numbers on top; combo ports under their LEDs; gigabit slots at the left.
constexpr int BlockLeft[2] = {430, 622};
constexpr int Column = 26;
constexpr int ComboLed[2] = {803, 852};

} // namespace

bool IsPort(int port)
{
    return port >= 1 && port <= Count;
}

Kind KindOf(int port)
{
    if (port >= 25 && port <= 26)
        return Kind::Combo;
    if (port >= 27)
        return Kind::Gigabit;
    return Kind::Copper;
}

QString KindText(Kind kind)
{
    switch (kind) {
    case Kind::Combo:
        return QStringLiteral("combo");
    case Kind::Gigabit:
        return QStringLiteral("gigabit");
    case Kind::Copper:
        break;
    }
    return QStringLiteral("copper");
}

QRect Rect(int port)
{
    if (!IsPort(port))
        return {};
    switch (KindOf(port)) {
    case Kind::Copper: {
        const int block = (port - 1) / 12;
        const int inBlock = (port - 1) % 12;
        const int x = BlockLeft[block] + (inBlock / 2) * Column;
        return QRect(x + 1, inBlock % 2 == 0 ? 26 : 50, 22, 20);
    }
    case Kind::Combo: {
        const int centre = ComboLed[port - 25] + 3;
        return QRect(centre - 17, 26, 34, 44);
    }
    case Kind::Gigabit:
        return QRect(127, port == 27 ? 29 : 63, 32, 22);
    }
    return {};
}

int PortAt(const QPoint &point)
{
    for (int port = 1; port <= Count; ++port)
        if (Rect(port).contains(point))
            return port;
    return 0;
}

QList<int> Ports()
{
    QList<int> all;
    for (int port = 1; port <= Count; ++port)
        all.append(port);
    return all;
}

QString RangeText(QList<int> ports)
{
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    QStringList parts;
    for (qsizetype i = 0; i < ports.size();) {
        qsizetype j = i;
        while (j + 1 < ports.size() && ports[j + 1] == ports[j] + 1)
            ++j;
        if (j - i >= 2)
            parts << QStringLiteral("%1-%2").arg(ports[i]).arg(ports[j]);
        else
            for (qsizetype k = i; k <= j; ++k)
                parts << QString::number(ports[k]);
        i = j + 1;
    }
    return parts.join(QLatin1Char(','));
}

} // namespace KtPortMap
