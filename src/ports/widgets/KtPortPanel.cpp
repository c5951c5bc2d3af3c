#include "ports/widgets/KtPortPanel.h"

#include "ports/KtPortColumns.h"
#include "ports/KtPortMap.h"
#include "ports/KtPortReader.h"
#include "ports/widgets/TEditPortsForm.h"

#include "errors/KtException.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolTip>

namespace {

// The marks are drawn on the switch's own dark face, so their colours are
// fixed like the face's, not taken from the desktop's palette.
const QColor MarkText(0xff, 0xff, 0xff);
const QColor MarkShadow(0x00, 0x00, 0x00, 0xc0);
const QColor UseFill(0x2f, 0x9b, 0xff, 0xb0);
const QColor AlertColour(0xff, 0x3b, 0x30);
const QColor SelectColour(0x00, 0xe5, 0xff);

} // namespace

// The spot over one port: focus, tool tip, clicks and the marks.
class KtPortPanel::Spot : public QWidget
{
public:
    Spot(KtPortPanel *panel, int port, QWidget *picture) : QWidget(picture), m_panel(panel), m_port(port)
    {
        setObjectName(QStringLiteral("Port%1").arg(port));
        setGeometry(KtPortMap::Rect(port));
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(KtPortText::AccessibleName(port, nullptr));
        show();
        raise();
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ToolTip) {
            m_panel->hovered(m_port, static_cast<QHelpEvent *>(e)->globalPos());
            return true;
        }
        return QWidget::event(e);
    }
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() != Qt::LeftButton)
            return QWidget::mousePressEvent(e);
        setFocus(Qt::MouseFocusReason);
        m_panel->clicked(m_port, e->modifiers());
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_panel->keyOn(m_port, e->key(), e->modifiers());
            return;
        default:
            QWidget::keyPressEvent(e);
        }
    }
    void focusInEvent(QFocusEvent *e) override
    {
        QWidget::focusInEvent(e);
        m_panel->focused(m_port);
        update();
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        QWidget::focusOutEvent(e);
        update();
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const KtPortOverlay::Mark mark = m_panel->MarkOf(m_port);
        if (mark.Shown) {
            if (mark.Fill > 0) {
                QRectF fill = r;
                fill.setTop(r.bottom() - r.height() * mark.Fill);
                p.fillRect(fill, UseFill);
            }
            if (mark.Alert) {
                p.setPen(QPen(AlertColour, 2));
                p.drawRect(r.adjusted(1, 1, -1, -1));
                QPainterPath triangle;
                triangle.moveTo(r.right() - 7, r.top() + 1);
                triangle.lineTo(r.right() - 1, r.top() + 1);
                triangle.lineTo(r.right() - 1, r.top() + 7);
                triangle.closeSubpath();
                p.fillPath(triangle, AlertColour);
            }
            if (!mark.Text.isEmpty()) {
                QFont f = font();
                f.setPixelSize(qBound(8, height() / 2, 11));
                f.setBold(true);
                p.setFont(f);
                p.setPen(MarkShadow);
                p.drawText(rect().translated(1, 1), Qt::AlignCenter, mark.Text);
                p.setPen(MarkText);
                p.drawText(rect(), Qt::AlignCenter, mark.Text);
            }
        }
        if (m_panel->m_selected.contains(m_port)) {
            // A frame and a corner wedge: selection shows without colour too.
            p.setPen(QPen(SelectColour, 2));
            p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
            QPainterPath wedge;
            wedge.moveTo(r.left(), r.bottom());
            wedge.lineTo(r.left() + 7, r.bottom());
            wedge.lineTo(r.left(), r.bottom() - 7);
            wedge.closeSubpath();
            p.fillPath(wedge, SelectColour);
        }
        if (hasFocus()) {
            p.setPen(QPen(MarkText, 1, Qt::DotLine));
            p.drawRect(r.adjusted(2, 2, -2, -2));
        }
    }

private:
    KtPortPanel *m_panel;
    int m_port;
};

KtPortPanel::KtPortPanel(QWidget *picture, const QString &host, QWidget *parent)
    : QWidget(parent), m_host(host), m_pollReader(new KtPortReader(this)), m_hoverReader(new KtPortReader(this))
{
    setObjectName(QStringLiteral("PortPanel"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto *viewLabel = new QLabel(QStringLiteral("&View:"), this);
    m_view = new QComboBox(this);
    m_view->setObjectName(QStringLiteral("ViewChoice"));
    m_view->addItems(KtPortOverlay::ModeNames());
    m_view->setAccessibleName(QStringLiteral("Front panel view"));
    viewLabel->setBuddy(m_view);
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("OverlayLegend"));
    m_legend->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_selection = new QLabel(this);
    m_selection->setObjectName(QStringLiteral("SelectionLabel"));
    m_edit = new QPushButton(QStringLiteral("&Edit Selected Ports..."), this);
    m_edit->setObjectName(QStringLiteral("EditSelectedPorts"));
    m_edit->setEnabled(false);
    row->addWidget(viewLabel);
    row->addWidget(m_view);
    row->addWidget(m_legend, 1);
    row->addWidget(m_selection);
    row->addWidget(m_edit);

    for (int port : KtPortMap::Ports())
        m_spots.append(new Spot(this, port, picture));
    for (qsizetype i = 1; i < m_spots.size(); ++i)
        QWidget::setTabOrder(m_spots[i - 1], m_spots[i]);

    m_poll.setInterval(PollIntervalMs);
    m_hoverTimer.setInterval(HoverReadMs);
    connect(&m_poll, &QTimer::timeout, this, &KtPortPanel::PollNow);
    connect(&m_hoverTimer, &QTimer::timeout, this, &KtPortPanel::hoverTick);
    m_hoverWait.setSingleShot(true);
    connect(&m_hoverWait, &QTimer::timeout, this, [this] {
        if (m_waitingPort)
            readPort(m_waitingPort);
    });
    connect(m_pollReader, &KtPortReader::sampled, this, &KtPortPanel::took);
    connect(m_hoverReader, &KtPortReader::sampled, this, &KtPortPanel::took);
    connect(m_pollReader, &KtPortReader::failed, this, &KtPortPanel::message);
    connect(m_view, &QComboBox::currentIndexChanged, this, &KtPortPanel::modeChosen);
    connect(m_edit, &QPushButton::clicked, this, &KtPortPanel::EditSelected);
    refreshSpots();
}

KtPortPanel::~KtPortPanel() = default;

QWidget *KtPortPanel::PortWidget(int port) const
{
    return KtPortMap::IsPort(port) ? m_spots.value(port - 1) : nullptr;
}

void KtPortPanel::SetMode(KtPortOverlay::Mode mode)
{
    m_view->setCurrentIndex(int(mode));
}

void KtPortPanel::modeChosen(int index)
{
    m_mode = KtPortOverlay::Mode(qBound(0, index, int(KtPortOverlay::Vlan)));
    m_legend->setText(KtPortOverlay::Legend(m_mode));
    m_legend->setToolTip(m_legend->text());
    if (m_mode == KtPortOverlay::Leds) {
        m_poll.stop();
    } else {
        m_poll.start();
        PollNow();
    }
    refreshSpots();
}

QList<int> KtPortPanel::Selected() const
{
    QList<int> ports(m_selected.begin(), m_selected.end());
    std::sort(ports.begin(), ports.end());
    return ports;
}

void KtPortPanel::SetSelected(const QList<int> &ports)
{
    QSet<int> chosen;
    for (int port : ports)
        if (KtPortMap::IsPort(port))
            chosen.insert(port);
    if (chosen == m_selected)
        return;
    m_selected = chosen;
    const QList<int> sorted = Selected();
    m_selection->setText(sorted.isEmpty() ? QString() : QStringLiteral("Ports %1").arg(KtPortMap::RangeText(sorted)));
    m_edit->setEnabled(!sorted.isEmpty());
    refreshSpots();
    emit selectionChanged(sorted);
}

const KtPortSample *KtPortPanel::Sample(int port) const
{
    const auto it = m_history.constFind(port);
    return it == m_history.constEnd() ? nullptr : &it->Last;
}

KtPortRates KtPortPanel::Rates(int port) const
{
    const auto it = m_history.constFind(port);
    return it == m_history.constEnd() ? KtPortRates{} : KtPortText::Rates(it->Previous, it->Last);
}

KtPortOverlay::Mark KtPortPanel::MarkOf(int port) const
{
    const KtPortSample *s = Sample(port);
    if (!s) {
        KtPortSample none;
        none.Port = port;
        KtPortOverlay::Mark m = KtPortOverlay::MarkOf(m_mode, none, {});
        if (m.Shown)
            m.Text = QStringLiteral("-");  // not read yet, rather than no answer
        return m;
    }
    return KtPortOverlay::MarkOf(m_mode, *s, Rates(port));
}

QString KtPortPanel::ToolTipText(int port) const
{
    const KtPortSample *s = Sample(port);
    if (!s)
        return QStringLiteral("Port %1\nReading...").arg(port);
    return KtPortText::ToolTip(*s, Rates(port));
}

void KtPortPanel::PollNow()
{
    if (!m_stopped)
        m_pollReader->Read(KtPortMap::Ports());
}

void KtPortPanel::Stop()
{
    m_stopped = true;
    m_poll.stop();
    m_hoverTimer.stop();
    m_hoverWait.stop();
}

bool KtPortPanel::Busy() const
{
    return m_pollReader->Busy() || m_hoverReader->Busy();
}

void KtPortPanel::readPort(int port)
{
    if (m_stopped)
        return;
    const qint64 wait = HoverReadMs - (KtPortReader::NowMs() - m_lastHoverRead);
    if (wait > 0) {
        // Too soon after the last one: read once the second is over.
        m_waitingPort = port;
        m_hoverWait.start(int(wait));
        return;
    }
    if (!m_hoverReader->Read({port}))
        return;
    m_waitingPort = 0;
    m_lastHoverRead = KtPortReader::NowMs();
}

void KtPortPanel::hovered(int port, const QPoint &globalPos)
{
    m_hoverPort = port;
    m_hoverPos = globalPos;
    QToolTip::showText(globalPos, ToolTipText(port), PortWidget(port));
    readPort(port);
    m_hoverTimer.start();
}

void KtPortPanel::hoverTick()
{
    QWidget *spot = PortWidget(m_hoverPort);
    // Reads stop as soon as the mouse has left the port or the tip has gone.
    if (!spot || !spot->underMouse() || !QToolTip::isVisible()) {
        m_hoverTimer.stop();
        m_hoverPort = 0;
        return;
    }
    readPort(m_hoverPort);
}

void KtPortPanel::focused(int port)
{
    if (!Sample(port))
        readPort(port);
}

void KtPortPanel::took(const QList<KtPortSample> &samples)
{
    for (const KtPortSample &s : samples) {
        History &h = m_history[s.Port];
        // A port that did not answer keeps its last good sample for the rates.
        if (h.Last.Answered || !s.Answered)
            h.Previous = h.Last;
        h.Last = s;
        if (QWidget *spot = PortWidget(s.Port))
            spot->setAccessibleName(KtPortText::AccessibleName(s.Port, &s));
    }
    if (m_hoverPort) {
        QWidget *spot = PortWidget(m_hoverPort);
        if (spot && spot->underMouse() && QToolTip::isVisible())
            QToolTip::showText(m_hoverPos, ToolTipText(m_hoverPort), spot);
    }
    refreshSpots();
    emit portsRead();
}

void KtPortPanel::refreshSpots()
{
    for (Spot *spot : std::as_const(m_spots))
        spot->update();
}

void KtPortPanel::toggle(int port)
{
    QList<int> ports = Selected();
    if (m_selected.contains(port))
        ports.removeAll(port);
    else
        ports.append(port);
    m_anchor = port;
    SetSelected(ports);
}

void KtPortPanel::selectRange(int from, int to)
{
    QList<int> ports;
    for (int p = qMin(from, to); p <= qMax(from, to); ++p)
        ports.append(p);
    SetSelected(ports);
}

void KtPortPanel::clicked(int port, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        toggle(port);
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        selectRange(m_anchor ? m_anchor : port, port);
        return;
    }
    m_anchor = port;
    SetSelected({port});
    emit portActivated(port);
}

void KtPortPanel::keyOn(int port, int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Space) {
        toggle(port);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit portActivated(port);
        return;
    }
    const int step = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
    const int next = port + step;
    if (!KtPortMap::IsPort(next))
        return;
    if (modifiers & Qt::ShiftModifier)
        selectRange(m_anchor ? m_anchor : port, next);
    PortWidget(next)->setFocus(Qt::TabFocusReason);
}

void KtPortPanel::EditSelected()
{
    const QList<int> ports = Selected();
    if (ports.isEmpty())
        return;
    QList<KtPortColumn> columns = m_columns;
    try {
        columns += KtPortColumns::VlanMembership();
    } catch (const KtException &e) {
        emit message(e.message());
    }
    TEditPortsForm form(ports, m_host, columns, window());
    connect(&form, &TEditPortsForm::written, this, &KtPortPanel::message);
    form.exec();
    PollNow();
}
