#pragma once

// Whether a window's picture shows painted content: an X window nobody
// has painted is all black or all one colour.

#include <QImage>
#include <QString>

namespace PaintCheck {

// Empty when painted; else why not ("94 % black").
QString Unpainted(const QImage &image);

// Whether a window drawn at a larger scale kept the layout of its picture at
// scale 1: the size grew by the factor, and every mark (text, frame, control)
// of the small picture has ink near the same place, relative to the size, in
// the large one and the other way round; a label whose text no longer fits
// loses the cut-off part. Empty when kept; else where not.
QString LayoutChanged(const QImage &one, const QImage &scaled, int factor);

} // namespace PaintCheck
