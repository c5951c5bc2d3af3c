#pragma once

#include "ports/KtMultiPortWrite.h"
#include "ports/KtPortOverlay.h"
#include "ports/KtPortSample.h"

#include <QHash>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

class KtPortReader;
class QComboBox;
class QLabel;
class QPushButton;

// The ports of the drawn front panel as things to work on: a focusable,
// named spot over each port with a tool tip read on hover, selection with
// Ctrl and Shift, and overlays (utilisation, errors, VLAN) beside the LEDs.
//
// The widget itself is the bar above the picture: the View choice, the
// overlay's legend and "Edit Selected Ports...". The port spots are
// children of the picture, so they move with it.
class KtPortPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 3000;  // the overlays follow the LED poll's pace
    static constexpr int HoverReadMs = 1000;     // at most one tool-tip read a second

    KtPortPanel(QWidget *picture, const QString &host, QWidget *parent = nullptr);
    ~KtPortPanel() override;

    // The host text the panel's windows name in their captions.
    void SetHost(const QString &host) { m_host = host; }

    QWidget *PortWidget(int port) const;
    QComboBox *ViewChoice() const { return m_view; }
    QLabel *LegendLabel() const { return m_legend; }
    QPushButton *EditButton() const { return m_edit; }

    KtPortOverlay::Mode Mode() const { return m_mode; }
    void SetMode(KtPortOverlay::Mode mode);

    QList<int> Selected() const;  // ascending
    void SetSelected(const QList<int> &ports);

    // The last sample of a port (null before any) and the rates since the one before.
    const KtPortSample *Sample(int port) const;
    KtPortRates Rates(int port) const;
    KtPortOverlay::Mark MarkOf(int port) const;
    QString ToolTipText(int port) const;

    // Reads every port now (the overlays' poll does so every PollIntervalMs).
    void PollNow();
    // No more reads from here on (the window is closing); Busy until those on their way are answered.
    void Stop();
    bool Busy() const;
    // The writable columns "Edit Selected Ports..." offers.
    void SetColumns(const QList<KtPortColumn> &columns) { m_columns = columns; }
    const QList<KtPortColumn> &Columns() const { return m_columns; }
    // Opens "Edit Selected Ports..." for the selection.
    void EditSelected();

signals:
    // A click or Enter on a port: its page should open.
    void portActivated(int port);
    void selectionChanged(const QList<int> &ports);
    // New samples arrived (from a hover, a focus or the overlay poll).
    void portsRead();
    void message(const QString &text);

private:
    class Spot;
    friend class Spot;

    void hovered(int port, const QPoint &globalPos);
    void focused(int port);
    void clicked(int port, Qt::KeyboardModifiers modifiers);
    void keyOn(int port, int key, Qt::KeyboardModifiers modifiers);
    void toggle(int port);
    void selectRange(int from, int to);
    void readPort(int port);
    void hoverTick();
    void took(const QList<KtPortSample> &samples);
    void refreshSpots();
    void modeChosen(int index);

    QList<Spot *> m_spots;  // index port - 1
    QComboBox *m_view = nullptr;
    QLabel *m_legend = nullptr;
    QLabel *m_selection = nullptr;
    QPushButton *m_edit = nullptr;
    QString m_host;
    QList<KtPortColumn> m_columns;
    KtPortOverlay::Mode m_mode = KtPortOverlay::Leds;
    QSet<int> m_selected;
    int m_anchor = 0;
    bool m_stopped = false;

    struct History
    {
        KtPortSample Previous;
        KtPortSample Last;
    };
    QHash<int, History> m_history;

    KtPortReader *m_pollReader = nullptr;
    KtPortReader *m_hoverReader = nullptr;
    QTimer m_poll;
    QTimer m_hoverTimer;   // re-reads the hovered port while its tool tip shows
    QTimer m_hoverWait;    // a read asked for within the second after the last one
    int m_waitingPort = 0;
    int m_hoverPort = 0;
    QPoint m_hoverPos;
    qint64 m_lastHoverRead = -HoverReadMs;
};
