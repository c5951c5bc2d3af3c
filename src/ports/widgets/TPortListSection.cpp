#include "ports/widgets/TPortListSection.h"

#include "ports/KtPortPage.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "snmp/KtSNMPRequest.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

TPortListSection::TPortListSection(const KtPortTable &table, int port, const QString &caption, QWidget *owner)
    : TPortSection(table, port, caption, owner), m_grid(new QGridLayout), m_empty(new QLabel(tr("No rows"), this))
{
    Buttons = new TCtrlBtnPanel(this);
    Buttons->SamplesLabel->hide();
    Buttons->CountText->hide();
    for (QPushButton *b : {Buttons->StopButton, Buttons->EditButton, Buttons->AddButton, Buttons->DeleteButton,
                           Buttons->CheckAllButton, Buttons->ClearChecksButton, Buttons->CloseButton})
        b->hide();
    TCtrlBtnPanel::SetCaption(Buttons->SetCheckedButton, tr("&Set Checked"));
    Buttons->SetCheckedButton->setEnabled(false);
    Buttons->SetCheckedButton->hide();  // until a row with a writable list comes
    Buttons->Arrange();
    connect(Buttons->RefreshButton, &QPushButton::clicked, this, [this] { Read(); });
    connect(Buttons->SetCheckedButton, &QPushButton::clicked, this, [this] { WriteChecked(); });

    // Header: the index columns, then one column per port list.
    const KtSNMPVarList header = KtPortPage::WalkList(table);
    QStringList index;
    for (int i = 0; i < table.indexCount && i < header.Count(); ++i)
        index.append(header.Get(i).Label);
    // Long list names wrap rather than widen the page.
    const auto heading = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setWordWrap(true);
        return label;
    };
    m_grid->addWidget(heading(index.join(QStringLiteral(", "))), 0, 0);
    for (int k = 0; k < table.columns.size(); ++k)
        m_grid->addWidget(heading(header.Get(table.columns.at(k)).Label), 0, k + 1);
    m_grid->addWidget(m_empty, 1, 0, 1, int(table.columns.size()) + 1);
    m_grid->setHorizontalSpacing(12);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(m_grid, 1);
    layout->addWidget(Buttons, 0, Qt::AlignTop);
}

TPortListSection::~TPortListSection()
{
    Stop();
}

void TPortListSection::AddRow(const QString &suffix)
{
    auto row = std::make_unique<Row>();
    row->suffix = suffix;
    row->binding = std::make_unique<KtSNMPRequest2Edits>(this);
    KtSNMPRequest2Edits &b = *row->binding;
    KtPortPage::LoadRow(b.Request.Vars, m_table, suffix, m_caption);
    if (m_statusTarget)
        b.SetStatusTarget(m_statusTarget);
    m_empty->hide();
    const int line = int(m_rows.size()) + 1;
    m_grid->addWidget(new QLabel(suffix.isEmpty() ? tr("Port %1").arg(m_port) : KtPortPage::IndexText(b.Request.Vars),
                                 this),
                      line, 0);
    for (int k = 0; k < m_table.columns.size(); ++k) {
        const int column = m_table.columns.at(k);
        auto *box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("Bit%1_%2").arg(column).arg(suffix));
        const QString what = tr("Port %1 in %2").arg(m_port).arg(b.Request.Vars.Get(column).Label);
        box->setToolTip(what);
        box->setAccessibleName(what);
        box->setEnabled(b.Request.Vars.IsWritable(column));
        connect(box, &QCheckBox::clicked, this, [this, r = row.get()] {
            r->changed = true;
            updateSetButton();
        });
        m_grid->addWidget(box, line, k + 1);
        row->boxes.append(box);
    }
    b.OnReadDone = [this, r = row.get()](KtSNMPRequest2Controls *, const KtSNMPError &result) {
        if (result.Code == 0)
            showRow(*r);
    };
    // What the switch made of the write, not what was sent.
    b.OnWriteDone = [this, r = row.get()](KtSNMPRequest2Controls *, const KtSNMPError &result) {
        if (result.Code == 0)
            KtRunGuarded(this, r->binding.get(), [r] { r->binding->Read(); });
    };
    m_grid->addWidget(AddLink(suffix, tr("Open")), line, int(m_table.columns.size()) + 1, Qt::AlignLeft);
    // Lists the switch only reports leave nothing to set.
    const bool writable = std::any_of(row->boxes.begin(), row->boxes.end(), [](QCheckBox *box) { return box->isEnabled(); });
    if (writable && Buttons->SetCheckedButton->isHidden()) {
        Buttons->SetCheckedButton->show();
        Buttons->Arrange();
    }
    m_rows.push_back(std::move(row));
}

QList<KtSNMPRequest2Edits *> TPortListSection::Bindings() const
{
    QList<KtSNMPRequest2Edits *> all;
    for (const auto &r : m_rows)
        all.append(r->binding.get());
    return all;
}

void TPortListSection::Read()
{
    for (const auto &r : m_rows) {
        if (KtBindingWait::Running(*r->binding))
            continue;
        r->changed = false;
        KtRunGuarded(this, r->binding.get(), [&] { r->binding->Read(); });
    }
    updateSetButton();
}

void TPortListSection::showRow(Row &row)
{
    const KtSNMPVarList &vars = row.binding->Request.Vars;
    KtRunGuarded(this, row.binding.get(), [&] {
        for (int k = 0; k < m_table.columns.size(); ++k) {
            const KtSNMPVar &v = vars.Get(m_table.columns.at(k));
            row.boxes.at(k)->setChecked(KtPortPage::Member(v.Value, v.Type, m_port));
        }
    });
    row.changed = false;
    updateSetButton();
}

void TPortListSection::WriteChecked()
{
    for (const auto &r : m_rows) {
        if (!r->changed)
            continue;
        KtSNMPRequest2Edits *b = r->binding.get();
        KtRunGuarded(this, b, [&] {
            const KtSNMPVarList &vars = b->Request.Vars;
            QStringList columns, values;
            for (int k = 0; k < m_table.columns.size(); ++k) {
                const int c = m_table.columns.at(k);
                if (!vars.IsWritable(c))
                    continue;
                columns.append(QString::number(c));
                values.append(KtPortPage::WithMember(vars.Get(c).Value, vars.Get(c).Type, m_port,
                                                     r->boxes.at(k)->isChecked()));
            }
            b->LastOperation = 1;
            b->Write(false, false, columns.join(QLatin1Char(',')), values);
            r->changed = false;
        });
    }
    updateSetButton();
}

void TPortListSection::updateSetButton()
{
    bool any = false;
    for (const auto &r : m_rows)
        any = any || r->changed;
    Buttons->SetCheckedButton->setEnabled(any);
}
