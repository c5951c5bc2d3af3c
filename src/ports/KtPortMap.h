#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// The switch's 28 front ports: what kind each is, where it sits on the
// drawn front panel and how it is numbered in the MIB tables.
namespace KtPortMap {

inline constexpr int Count = 28;

enum class Kind { Copper, Combo, Gigabit };

bool IsPort(int port);
Kind KindOf(int port);
QString KindText(Kind kind);

// The switch numbers its interfaces and bridge ports as its front ports.
inline int IfIndex(int port) { return port; }
inline int BridgePort(int port) { return port; }

// The port's outline in the picture's logical coordinates (919 x 113);
// empty for a number that is no port.
QRect Rect(int port);
// The port under a point of the picture, 0 for none.
int PortAt(const QPoint &point);

// All ports, in the order the arrow keys walk them (1 to 28).
QList<int> Ports();

// Port numbers as "3-5,7": runs of three or more joined by a dash.
QString RangeText(QList<int> ports);

} // namespace KtPortMap
