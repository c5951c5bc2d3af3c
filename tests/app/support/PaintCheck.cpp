#include "PaintCheck.h"

#include <QHash>

#include <vector>

namespace PaintCheck {

namespace {

bool dark(QRgb c)
{
    return qGray(c) < 96;
}

} // namespace

QString Unpainted(const QImage &image)
{
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return QStringLiteral("no picture");
    QHash<QRgb, qint64> counts;
    qint64 black = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            ++counts[c];
            black += c == 0xff000000u;
        }
    }
    const qint64 all = qint64(image.width()) * image.height();
    qint64 most = 0;
    for (qint64 n : std::as_const(counts))
        most = qMax(most, n);
    if (most * 100 > all * 97)
        return QStringLiteral("%1 % one colour").arg(most * 100 / all);
    if (black * 3 >= all)
        return QStringLiteral("%1 % black").arg(black * 100 / all);
    return {};
}

double InkKept(const QImage &expected, const QImage &actual, int reach)
{
    const QImage small = actual.scaled(expected.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int w = expected.width(), h = expected.height();
    // Dark pixels of actual, widened by reach, as a mask.
    std::vector<bool> near(size_t(w) * size_t(h), false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (dark(small.pixel(x, y)))
                for (int dy = -reach; dy <= reach; ++dy)
                    for (int dx = -reach; dx <= reach; ++dx)
                        if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h)
                            near[size_t(y + dy) * size_t(w) + size_t(x + dx)] = true;
    qint64 ink = 0, kept = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (dark(expected.pixel(x, y))) {
                ++ink;
                kept += near[size_t(y) * size_t(w) + size_t(x)];
            }
    return ink == 0 ? 1.0 : double(kept) / double(ink);
}

} // namespace PaintCheck
