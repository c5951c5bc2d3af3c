#pragma once

#include <QChart>

class QPalette;

// Qt Charts' light or dark theme, whichever matches the lightness of the
// palette's window colour, so that a chart sits in a dark desktop as well
// as in a light one. Charts call Apply when built and again on
// QEvent::ApplicationPaletteChange.
class KtChartTheme
{
public:
    static bool IsDark(const QPalette &palette);
    static QChart::ChartTheme For(const QPalette &palette);
    // Sets the theme when it differs (a theme change resets colours the
    // caller chose): true when it changed.
    static bool Apply(QChart *chart, const QPalette &palette);
};
