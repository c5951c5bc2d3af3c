#pragma once

// Whether a window's picture shows painted content: an X window nobody
// has painted is all black or all one colour.

#include <QImage>
#include <QString>

namespace PaintCheck {

// Empty when painted; else why not ("94 % black").
QString Unpainted(const QImage &image);

} // namespace PaintCheck
