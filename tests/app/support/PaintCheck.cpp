#include "PaintCheck.h"

#include <QHash>

namespace PaintCheck {

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

} // namespace PaintCheck
