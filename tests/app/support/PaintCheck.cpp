#include "PaintCheck.h"

#include <QHash>
#include <QList>
#include <QPoint>

#include <cstdlib>

namespace PaintCheck {

QString Unpainted(const QImage &image)
{
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return QStringLiteral("no picture");
    // A colour above 97 % is above half: the one a majority vote leaves
    // standing, counted on a second pass (no table of every colour).
    QRgb candidate = 0;
    qint64 votes = 0, black = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (votes == 0)
                candidate = c;
            votes += c == candidate ? 1 : -1;
            black += c == 0xff000000u;
        }
    }
    qint64 most = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            most += (line[x] | 0xff000000u) == candidate;
    }
    const qint64 all = qint64(image.width()) * image.height();
    if (most * 100 > all * 97)
        return QStringLiteral("%1 % one colour").arg(most * 100 / all);
    if (black * 3 >= all)
        return QStringLiteral("%1 % black").arg(black * 100 / all);
    return {};
}

namespace {

// Cells of a picture's grid that hold ink: pixels far from its commonest
// colour (the window's background).
struct InkGrid
{
    int columns = 0, rows = 0;
    QList<bool> ink;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < columns && y < rows && ink.at(y * columns + x); }
};

InkGrid inkGrid(const QImage &image, int columns, int rows)
{
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    QRgb background = 0;
    qint64 most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), background = it.key();
    InkGrid grid{columns, rows, QList<bool>(qsizetype(columns) * rows, false)};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int distance = std::abs(qRed(c) - qRed(background)) + std::abs(qGreen(c) - qGreen(background))
                                 + std::abs(qBlue(c) - qBlue(background));
            if (distance > 96)
                grid.ink[qsizetype(y * rows / image.height()) * columns + x * columns / image.width()] = true;
        }
    return grid;
}

// The first cell inked in from with no ink in the cells around it in to.
QPoint lostInk(const InkGrid &from, const InkGrid &to)
{
    for (int y = 0; y < from.rows; ++y)
        for (int x = 0; x < from.columns; ++x) {
            if (!from.at(x, y))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = to.at(x + dx, y + dy);
            if (!near)
                return {x, y};
        }
    return {-1, -1};
}

} // namespace

QString LayoutChanged(const QImage &one, const QImage &scaled, int factor)
{
    if (one.isNull() || scaled.isNull())
        return QStringLiteral("no picture");
    // Fonts do not grow exactly by the factor; the layout may differ by a few per cent.
    const auto grewBy = [factor](int small, int large) { return std::abs(large - small * factor) * 100 <= small * factor * 5; };
    if (!grewBy(one.width(), scaled.width()) || !grewBy(one.height(), scaled.height()))
        return QStringLiteral("%1x%2 at scale %3, %4x%5 at scale 1").arg(scaled.width()).arg(scaled.height()).arg(factor).arg(one.width()).arg(one.height());
    // Cells of 4 pixels at scale 1: a lost word end or a control edge fills one.
    constexpr int Cell = 4;
    const int columns = qMax(1, one.width() / Cell), rows = qMax(1, one.height() / Cell);
    const InkGrid small = inkGrid(one, columns, rows), large = inkGrid(scaled, columns, rows);
    const auto where = [&](QPoint cell) { return QStringLiteral("(%1, %2) of %3x%4").arg(cell.x() * one.width() / columns).arg(cell.y() * one.height() / rows).arg(one.width()).arg(one.height()); };
    if (const QPoint cell = lostInk(small, large); cell.x() >= 0)
        return QStringLiteral("what is drawn at scale 1 near %1 is missing at scale %2").arg(where(cell)).arg(factor);
    if (const QPoint cell = lostInk(large, small); cell.x() >= 0)
        return QStringLiteral("at scale %1 something is drawn near %2 where scale 1 has nothing").arg(factor).arg(where(cell));
    return {};
}

} // namespace PaintCheck
