#pragma once

// Whether a window's picture shows painted content: an X window nobody
// has painted is all black or all one colour.

#include <QImage>
#include <QString>

namespace PaintCheck {

// Empty when painted; else why not ("94 % black").
QString Unpainted(const QImage &image);

// Of the dark pixels (text, lines) of expected, the share that has a dark
// pixel within reach in actual, compared at expected's size: text cut off
// at a widget's edge in actual is missing there.
double InkKept(const QImage &expected, const QImage &actual, int reach = 3);

} // namespace PaintCheck
