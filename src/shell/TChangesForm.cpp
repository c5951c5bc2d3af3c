#include "shell/TChangesForm.h"

#include "shell/TChangesFormRules.h"

#include "dialogs/generic/KtTableText.h"
#include "errors/KtException.h"
#include "ledger/KtChangeLedger.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { TimeColumn, WhereColumn, ObjectColumn, OldColumn, NewColumn };

// Header clicks sort numbers, addresses and text in their natural order.
class ChangeItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return KtTableText::Compare(text(column), other.text(column), KtTableText::Order::Natural) < 0;
    }
};

} // namespace

TChangesForm::TChangesForm(KtChangeLedger &ledger, const QString &hostText, QWidget *owner)
    : QWidget(owner, Qt::Window), m_ledger(&ledger)
{
    setObjectName(QStringLiteral("ChangesForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Unsaved Changes : ") + hostText);

    LV_Changes = new QTreeWidget(this);
    LV_Changes->setObjectName(QStringLiteral("LV_Changes"));
    LV_Changes->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Where"), QStringLiteral("Object"),
                                 QStringLiteral("Old"), QStringLiteral("New")});
    LV_Changes->setRootIsDecorated(false);
    LV_Changes->setAlternatingRowColors(true);
    LV_Changes->setUniformRowHeights(true);
    LV_Changes->setSortingEnabled(true);
    LV_Changes->sortByColumn(TimeColumn, Qt::AscendingOrder);

    ST_Note = new QLabel(this);
    ST_Note->setObjectName(QStringLiteral("ST_Note"));
    ST_Note->setWordWrap(true);
    ST_Note->hide();

    BT_Copy = new QPushButton(QStringLiteral("&Copy as snmpset commands"), this);
    BT_Copy->setObjectName(QStringLiteral("BT_Copy"));
    BT_Export = new QPushButton(QStringLiteral("&Export CSV..."), this);
    BT_Export->setObjectName(QStringLiteral("BT_Export"));
    BT_Revert = new QPushButton(QStringLiteral("&Revert to saved"), this);
    BT_Revert->setObjectName(QStringLiteral("BT_Revert"));
    BT_Close = new QPushButton(QStringLiteral("C&lose"), this);
    BT_Close->setObjectName(QStringLiteral("BT_Close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BT_Copy);
    buttons->addWidget(BT_Export);
    buttons->addWidget(BT_Revert);
    buttons->addStretch(1);
    buttons->addWidget(BT_Close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LV_Changes, 1);
    layout->addWidget(ST_Note);
    layout->addLayout(buttons);

    connect(BT_Copy, &QPushButton::clicked, this, &TChangesForm::BT_CopyClick);
    connect(BT_Export, &QPushButton::clicked, this, &TChangesForm::BT_ExportClick);
    connect(BT_Revert, &QPushButton::clicked, this, &TChangesForm::BT_RevertClick);
    connect(BT_Close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(&ledger, &KtChangeLedger::changed, this, &TChangesForm::Fill);
    connect(&ledger, &KtChangeLedger::ended, this, &TChangesForm::ShowNote);

    Fill();
    resize(880, 320);
}

void TChangesForm::Fill()
{
    LV_Changes->setSortingEnabled(false);
    LV_Changes->clear();
    const QList<KtLedgerEntry> entries = m_ledger ? m_ledger->Entries() : QList<KtLedgerEntry>();
    for (const KtLedgerEntry &e : entries) {
        auto *item = new ChangeItem(LV_Changes);
        item->setText(TimeColumn, e.Time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        item->setText(WhereColumn, e.Where);
        item->setToolTip(WhereColumn, e.Where);
        item->setText(ObjectColumn, e.Label.isEmpty() ? e.Oid : e.Label);
        item->setToolTip(ObjectColumn, e.Oid);
        item->setText(OldColumn, TChangesFormRules::OldText(e));
        item->setText(NewColumn, e.New);
    }
    LV_Changes->setSortingEnabled(true);
    // Long menu paths must not push the values out of sight; the cell keeps them as a tool tip.
    for (int c = 0; c < LV_Changes->columnCount(); ++c) {
        LV_Changes->resizeColumnToContents(c);
        if (c == WhereColumn || c == ObjectColumn)
            LV_Changes->setColumnWidth(c, qMin(LV_Changes->columnWidth(c), LV_Changes->fontMetrics().averageCharWidth() * 32));
    }
    const bool any = !entries.isEmpty();
    BT_Copy->setEnabled(any);
    BT_Export->setEnabled(any);
    BT_Revert->setEnabled(any);
}

void TChangesForm::ShowNote(const QString &text)
{
    ST_Note->setText(text);
    ST_Note->setVisible(!text.isEmpty());
}

void TChangesForm::BT_CopyClick()
{
    if (!m_ledger)
        return;
    QGuiApplication::clipboard()->setText(
        TChangesFormRules::SetCommands(m_ledger->Entries(), KtLedgerTarget::FromSession()));
    ShowNote(QStringLiteral("%1 snmpset commands copied; fill in the write community or pass phrases.")
                 .arg(m_ledger->Count()));
}

void TChangesForm::BT_ExportClick()
{
    if (!m_ledger)
        return;
    const QString suggested = QDir::home().filePath(QStringLiteral("changes-%1.csv").arg(m_ledger->Host()));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), suggested,
                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        ExportCsv(path);
}

bool TChangesForm::ExportCsv(const QString &path)
{
    if (!m_ledger)
        return false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(TChangesFormRules::CsvText(m_ledger->Entries()).toUtf8()) >= 0
        && file.commit()) {
        ShowNote(QStringLiteral("Written to %1.").arg(QDir::toNativeSeparators(path)));
        return true;
    }
    ShowNote(QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

void TChangesForm::BT_RevertClick()
{
    if (!m_ledger || m_ledger->Count() == 0)
        return;
    if (!KtMessageService::Ask(this, TChangesFormRules::RevertQuestion(m_ledger->Count()),
                               QStringLiteral("Revert to saved")))
        return;
    KtSNMPRequest request;
    request.Vars.AppendVar(QString::fromLatin1(ResetOid), QStringLiteral("Reset"), KtType::Integer,
                           KtAccess::ReadWrite);
    request.Vars.Kind = KtKind::SVT_SV;
    request.Vars.Get(0).Value = QStringLiteral("2");
    try {
        request.Store();
    } catch (const KtException &e) {
        ShowNote(TChangesFormRules::RevertFailureText(e.code(), e.message()));
        return;
    }
    // The ledger ends when it sees the set; this covers a ledger that is not the observer.
    if (m_ledger)
        m_ledger->Finish(KtChangeLedger::End::Reverted);
    emit reverted();
}
