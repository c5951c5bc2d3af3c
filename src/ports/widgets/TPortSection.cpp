#include "ports/widgets/TPortSection.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "snmp/KtSNMPRequest.h"

#include <QPushButton>

TPortSection::TPortSection(const KtPortTable &table, int port, const QString &caption, QWidget *owner)
    : QGroupBox(caption, owner), m_table(table), m_port(port), m_caption(caption)
{
    setObjectName(table.table);
}

TPortSection::~TPortSection() = default;

void TPortSection::SetStatusTarget(QObject *target)
{
    m_statusTarget = target;
    for (KtSNMPRequest2Edits *b : Bindings())
        b->SetStatusTarget(target);
}

QPushButton *TPortSection::AddLink(const QString &rowIndex, const QString &text)
{
    auto *link = new QPushButton(text, this);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setObjectName(QStringLiteral("Link") + rowIndex);
    link->setToolTip(tr("Opens %1 with this row selected").arg(m_caption));
    // Links look like links: the palette's link colour, underlined.
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
    link->setPalette(palette);
    connect(link, &QPushButton::clicked, this, [this, rowIndex] { emit openEntry(m_table.entry, rowIndex, m_table.table); });
    m_links.append(link);
    return link;
}

void TPortSection::Stop()
{
    QList<KtSNMPRequest2Controls *> bindings;
    int bound = 0;
    for (KtSNMPRequest2Edits *b : Bindings()) {
        b->Request.Alive = false;
        bindings.append(b);
        bound = qMax(bound, KtBindingWait::AnswerBoundMs(*b));
    }
    KtBindingWait::Wait(bindings, bound);
}
