#include "dialogs/monitors/KtChartTheme.h"

#include <QPalette>

bool KtChartTheme::IsDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QChart::ChartTheme KtChartTheme::For(const QPalette &palette)
{
    return IsDark(palette) ? QChart::ChartThemeDark : QChart::ChartThemeLight;
}

bool KtChartTheme::Apply(QChart *chart, const QPalette &palette)
{
    const QChart::ChartTheme theme = For(palette);
    if (chart->theme() == theme)
        return false;
    chart->setTheme(theme);
    return true;
}
