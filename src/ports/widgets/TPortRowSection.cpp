#include "ports/widgets/TPortRowSection.h"

#include "ports/KtPortMap.h"
#include "ports/KtPortPage.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "dialogs/generic/TEditsPanel.h"
#include "errors/KtException.h"
#include "shell/catalogue/KtMenuPanel.h"
#include "snmp/KtSNMPRequest.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {
// As the table's own dialog lays out its port lists.
constexpr int PortsPerRow = 20;
} // namespace

TPortRowSection::TPortRowSection(const KtPortTable &table, int port, const QString &caption,
                                 const QString &rowSuffix, const KtMenuPanel *panel, QWidget *owner)
    : TPortSection(table, port, caption, owner), m_suffix(rowSuffix),
      m_binding(std::make_unique<KtSNMPRequest2Edits>(this))
{
    if (!rowSuffix.isEmpty())
        setObjectName(table.table + QLatin1Char('_') + rowSuffix);
    KtPortPage::LoadRow(m_binding->Request.Vars, table, rowSuffix, caption);
    EditsPanel = new TEditsPanel(this, m_binding.get());
    Buttons = new TCtrlBtnPanel(this);
    EditsPanel->ArrangeCtrlBtn(Buttons);
    // The page has one Close for all sections.
    Buttons->CloseButton->hide();
    Buttons->Arrange();
    if (panel)
        tailor(*panel);
    // Index values come from the suffix; show them before the first answer.
    m_binding->ShowValues(-1);

    connect(Buttons->RefreshButton, &QPushButton::clicked, this, [this] { Read(); });
    connect(Buttons->SetCheckedButton, &QPushButton::clicked, this, [this] { WriteChecked(); });
    connect(Buttons->CheckAllButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::CheckAll);
    connect(Buttons->ClearChecksButton, &QPushButton::clicked, EditsPanel, &TEditsPanel::ClearChecks);

    auto *grid = new QGridLayout(this);
    grid->addWidget(EditsPanel, 0, 0);
    grid->addWidget(Buttons, 0, 1, Qt::AlignTop);
    grid->addWidget(AddLink(rowSuffix, tr("Open in %1").arg(caption)), 1, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(0, 1);
    EditsPanel->setMinimumHeight(EditsPanel->sizeHint().height());
    setFocusProxy(EditsPanel);
}

TPortRowSection::~TPortRowSection()
{
    Stop();
}

void TPortRowSection::tailor(const KtMenuPanel &panel)
{
    for (const KtMenuTailoring &item : panel.tailoring) {
        if (item.value < 0 || item.value >= EditsPanel->Rows.size())
            continue;
        TEditsPanel::EditRow &row = EditsPanel->Rows[item.value];
        switch (item.kind) {
        case KtMenuTailoring::Ports: EditsPanel->SetPortListItem(item.value, PortsPerRow, KtPortMap::Count); break;
        case KtMenuTailoring::Always: EditsPanel->SetAlwaysChecked(item.value); break;
        case KtMenuTailoring::Format:
            if (row.Kind == 1 || row.Kind == 2) {
                m_binding->Unbind(item.value);
                m_binding->BindEdits(item.value, item.format, {row.Edit()});
                row.Format = item.format;
            }
            break;
        case KtMenuTailoring::Width:
        case KtMenuTailoring::NoEdit: break;
        }
    }
}

QList<KtSNMPRequest2Edits *> TPortRowSection::Bindings() const
{
    return {m_binding.get()};
}

void TPortRowSection::Read()
{
    if (KtBindingWait::Running(*m_binding))
        return;
    KtRunGuarded(this, m_binding.get(), [this] { m_binding->Read(); });
}

void TPortRowSection::WriteChecked()
{
    KtRunGuarded(this, m_binding.get(), [this] { EditsPanel->WriteChecked(Buttons->SetCheckedButton); });
}
