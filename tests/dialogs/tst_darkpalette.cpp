// A dark desktop palette: the monitors' charts take the matching Qt Charts
// theme and switch with the palette, and the text of a configuration
// dialog (rows, disabled rows, status memo) contrasts with its background
// whichever palette is in force.

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/TConfigForm.h"
#include "dialogs/generic/TEditsPanel.h"
#include "dialogs/generic/TMsgPanel.h"
#include "dialogs/generic/TSNMPEditorPanel.h"
#include "dialogs/monitors/KtHistoryChart.h"
#include "dialogs/monitors/KtRatePlot.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"

#include <QApplication>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QValueAxis>

#include <cmath>

namespace {

QPalette darkPalette()
{
    QPalette p(QColor(0x35, 0x35, 0x35));  // window and button, the rest derived
    p.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    p.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    return p;
}

// WCAG contrast ratio of two colours, 1 (same) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

constexpr double Readable = 4.5;

// The colour a brush fills with: a gradient's first stop.
QColor fill(const QBrush &brush)
{
    return brush.gradient() ? brush.gradient()->stops().value(0).second : brush.color();
}

} // namespace

class TestDarkPalette : public QObject
{
    Q_OBJECT

    QPalette m_light;

    // Light, dark, light, dark: the palette changes after the widgets exist.
    void palettes_data()
    {
        QTest::addColumn<QList<bool>>("darkSteps");
        QTest::newRow("built light") << QList<bool>{false, true, false};
        QTest::newRow("built dark") << QList<bool>{true, false, true};
    }
    void setDark(bool dark)
    {
        QApplication::setPalette(dark ? darkPalette() : m_light);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        m_light = QApplication::style()->standardPalette();
        QVERIFY(m_light.color(QPalette::Window).lightness() >= 128);
    }
    void cleanup() { setDark(false); }

    void chartsFollowThePalette_data() { palettes_data(); }
    void chartsFollowThePalette()
    {
        QFETCH(QList<bool>, darkSteps);
        setDark(darkSteps.first());
        // Children of a window, as in a monitor: only windows that exist get
        // the palette change first hand.
        QWidget window;
        KtHistoryChart history({QStringLiteral("In"), QStringLiteral("Out")}, {Qt::red, Qt::green}, &window);
        KtRatePlot rate(10, &window);
        window.winId();
        for (bool dark : darkSteps) {
            setDark(dark);
            const QChart::ChartTheme theme = dark ? QChart::ChartThemeDark : QChart::ChartThemeLight;
            QChart *h = history.View()->chart();
            QCOMPARE(h->theme(), theme);
            QCOMPARE(rate.chart()->theme(), theme);
            // What the charts chose themselves survives the theme change.
            QCOMPARE(history.Series(0)->pen().color(), QColor(Qt::red));
            QCOMPARE(history.Series(1)->pen().width(), 2);
            QCOMPARE(h->isPlotAreaBackgroundVisible(), !dark);
            QCOMPARE(rate.Series()->color(), QApplication::palette().color(QPalette::Highlight));
            // Axis labels stand out from the chart behind them.
            for (QChart *c : {h, rate.chart()}) {
                const QColor behind = fill(c->isPlotAreaBackgroundVisible() ? c->plotAreaBackgroundBrush()
                                                                            : c->backgroundBrush());
                const auto *axis = qobject_cast<QValueAxis *>(c->axes(Qt::Vertical).value(0));
                QVERIFY(axis);
                QVERIFY2(contrast(axis->labelsBrush().color(), behind) >= Readable,
                         qPrintable(axis->labelsBrush().color().name() + " on " + behind.name()));
            }
        }
    }

    void dialogTextStaysReadable_data() { palettes_data(); }
    void dialogTextStaysReadable()
    {
        QFETCH(QList<bool>, darkSteps);
        setDark(darkSteps.first());
        TConfigForm form;
        auto *binding = new KtSNMPRequest2Edits(&form);
        binding->Request.Vars =
            KtSNMPVarList(*KtMibData::Instance().FindTable(QStringLiteral("MIBIIInformation")), KtKind::SVT_SV, 0);
        TEditsPanel *edits = form.SetEditorPanel(binding)->EditsPanel;
        form.winId();  // its window exists, nothing is read
        QPlainTextEdit *memo = form.findChild<TMsgPanel *>()->Memo;
        memo->appendPlainText(QStringLiteral("Read OK"));
        int disabled = 0;
        for (bool dark : darkSteps) {
            setDark(dark);
            const QPalette now = QApplication::palette();
            QVERIFY(contrast(memo->palette().color(QPalette::Text), memo->palette().color(QPalette::Base)) >= Readable);
            disabled = 0;
            for (const TEditsPanel::EditRow &row : edits->Rows) {
                const QPalette label = row.Label->palette();
                QVERIFY(contrast(label.color(QPalette::WindowText), edits->palette().color(QPalette::Window)) >= Readable);
                const QPalette p = row.Control->palette();
                QVERIFY2(contrast(p.color(QPalette::Text), p.color(QPalette::Base)) >= Readable,
                         qPrintable(row.Label->text() + ' ' + p.color(QPalette::Text).name() + " on " + p.color(QPalette::Base).name()));
                if (!row.Edit() || !row.Edit()->isReadOnly())
                    continue;
                // A disabled row is greyed in the colours of the palette now in force.
                ++disabled;
                QCOMPARE(p.color(QPalette::Text), now.color(QPalette::WindowText));
                QCOMPARE(p.color(QPalette::Base), now.color(QPalette::Button));
            }
        }
        QVERIFY(disabled > 0);
    }
};

QTEST_MAIN(TestDarkPalette)
#include "tst_darkpalette.moc"
