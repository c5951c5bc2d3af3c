#include "dialogs/generic/TListViewPanel.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/generic/KtTableText.h"
#include "dialogs/generic/TCtrlBtnPanel.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {

// The order in which a row was read, kept on its item: ties of a sort keep it.
constexpr int SequenceRole = Qt::UserRole + 1;

// Rows that arrive close together are placed together.
constexpr int PlaceDelayMs = 40;

} // namespace

TListViewPanel::TListViewPanel(QWidget *owner, KtSNMPRequest2Edits *binding)
    : QWidget(owner), ListView(new QTreeWidget(this)), m_binding(binding), m_sortTimer(new QTimer(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListView);
    ListView->setObjectName(QStringLiteral("ListView"));
    if (binding)
        binding->AttachListView(ListView, false);

    QHeaderView *header = ListView->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, &TListViewPanel::HeaderClicked);

    m_sortTimer->setSingleShot(true);
    m_sortTimer->setInterval(PlaceDelayMs);
    connect(m_sortTimer, &QTimer::timeout, this, &TListViewPanel::placeRows);
    connect(ListView->model(), &QAbstractItemModel::rowsInserted, this, [this] { rowsArrived(); });

    ListView->installEventFilter(this);
    ListView->viewport()->installEventFilter(this);
    ListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ContextMenu()->popup(ListView->viewport()->mapToGlobal(pos)); });

    AskSavePath = [](QWidget *parent) {
        return QFileDialog::getSaveFileName(parent, tr("Export CSV"), QString(),
                                            tr("CSV files (*.csv);;All files (*)"));
    };
}

TListViewPanel::~TListViewPanel()
{
    ListView->model()->disconnect(this);
    ListView->removeEventFilter(this);
    ListView->viewport()->removeEventFilter(this);
    // A binding that outlives the panel lets go of the view before it dies.
    if (m_binding && m_binding->ListView == ListView)
        m_binding->AttachListView(nullptr, false);
}

void TListViewPanel::ArrangeCtrlBtn(TCtrlBtnPanel *buttons)
{
    buttons->SamplesLabel->show();
    buttons->CountText->show();
    buttons->RefreshButton->show();
    buttons->StopButton->show();
    buttons->StopButton->setEnabled(false);
    buttons->EditButton->show();
    buttons->EditButton->setEnabled(false);
    buttons->DeleteButton->setEnabled(false);
    buttons->SetCheckedButton->hide();
    buttons->AddButton->setVisible(AddColumn != -1);
    buttons->DeleteButton->setVisible(DeleteColumn != -1);
    buttons->CheckAllButton->hide();
    buttons->ClearChecksButton->hide();
    buttons->CloseButton->show();
    buttons->Arrange();
}

QSize TListViewPanel::sizeHint() const
{
    int width = 2 * ListView->frameWidth();
    const QTreeWidgetItem *header = ListView->headerItem();
    for (int c = 0; c < ListView->columnCount(); ++c)
        width += int(header->text(c).size()) * 8;
    return {std::min(width, MaxWidth), DefaultHeight};
}

// ---------------------------------------------------------------- sorting

void TListViewPanel::rowsArrived()
{
    if (m_sorting)
        return;
    // New rows come at the end; number them from there back to the first numbered one.
    for (int r = ListView->topLevelItemCount() - 1; r >= 0; --r) {
        QTreeWidgetItem *item = ListView->topLevelItem(r);
        if (item->data(0, SequenceRole).isValid())
            break;
        item->setData(0, SequenceRole, m_nextSequence++);
    }
    if (m_sortColumn >= 0 && !m_sortTimer->isActive())
        m_sortTimer->start();
}

void TListViewPanel::HeaderClicked(int column)
{
    if (column < 0 || column >= ListView->columnCount())
        return;
    const Qt::SortOrder order = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder
        ? Qt::DescendingOrder
        : Qt::AscendingOrder;
    SortBy(column, order);
}

void TListViewPanel::SortBy(int column, Qt::SortOrder order)
{
    m_sortColumn = column < ListView->columnCount() ? column : -1;
    m_sortOrder = order;
    QHeaderView *header = ListView->header();
    header->setSortIndicatorShown(m_sortColumn >= 0);
    header->setSortIndicator(m_sortColumn, order);
    m_sortTimer->stop();
    placeRows();
}

void TListViewPanel::placeRows()
{
    const int column = m_sortColumn;
    if (column < 0 || column >= ListView->columnCount() || ListView->topLevelItemCount() < 2)
        return;
    m_sorting = true;
    QTreeWidgetItem *current = ListView->currentItem();
    const QList<QTreeWidgetItem *> selected = ListView->selectedItems();
    QList<QTreeWidgetItem *> items = ListView->invisibleRootItem()->takeChildren();

    QStringList texts;
    texts.reserve(items.size());
    for (const QTreeWidgetItem *item : items)
        texts.append(item->text(column));
    const KtTableText::Order order = KtTableText::ColumnOrder(texts);
    QList<int> positions(items.size());
    std::iota(positions.begin(), positions.end(), 0);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::sort(positions.begin(), positions.end(), [&](int a, int b) {
        int c = KtTableText::Compare(texts.at(a), texts.at(b), order);
        if (descending)
            c = -c;
        if (c != 0)
            return c < 0;
        return items.at(a)->data(0, SequenceRole).toLongLong() < items.at(b)->data(0, SequenceRole).toLongLong();
    });
    QList<QTreeWidgetItem *> sorted;
    sorted.reserve(items.size());
    for (int p : positions)
        sorted.append(items.at(p));
    ListView->insertTopLevelItems(0, sorted);

    if (current)
        ListView->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    m_sorting = false;
    for (QTreeWidgetItem *item : selected)
        item->setSelected(true);
    if (!selected.isEmpty())
        ListView->scrollToItem(selected.first());
    emit Sorted();
}

// ---------------------------------------------------------------- texts

QList<int> TListViewPanel::ShownColumns() const
{
    QList<int> columns;
    if (m_binding) {
        const KtSNMPVarList &vars = m_binding->Request.Vars;
        for (int i = 0; i < vars.Count(); ++i) {
            const int c = m_binding->ColumnOf(i);
            if (c >= 0 && c < ListView->columnCount() && vars.IsShown(i) && !vars.IsHidden(i))
                columns.append(c);
        }
        std::sort(columns.begin(), columns.end());
    } else {
        for (int c = 0; c < ListView->columnCount(); ++c)
            columns.append(c);
    }
    return columns;
}

QStringList TListViewPanel::RowTexts(const QTreeWidgetItem *item) const
{
    QStringList texts;
    if (item)
        for (int c : ShownColumns())
            texts.append(item->text(c));
    return texts;
}

QString TListViewPanel::RowHint(const QTreeWidgetItem *item) const
{
    if (!item)
        return {};
    QStringList captions, texts;
    for (int c = 0; c < ListView->columnCount(); ++c) {
        captions.append(ListView->headerItem()->text(c));
        texts.append(item->text(c));
    }
    return KtTableText::RowHint(captions, texts);
}

QString TListViewPanel::SelectedRowText() const
{
    const QList<QTreeWidgetItem *> selected = ListView->selectedItems();
    return selected.isEmpty() ? QString() : KtTableText::TabText({RowTexts(selected.first())});
}

namespace {

QList<QStringList> tableRows(const TListViewPanel &panel)
{
    QList<QStringList> rows;
    QStringList header;
    for (int c : panel.ShownColumns())
        header.append(panel.ListView->headerItem()->text(c));
    rows.append(header);
    for (int r = 0; r < panel.ListView->topLevelItemCount(); ++r)
        rows.append(panel.RowTexts(panel.ListView->topLevelItem(r)));
    return rows;
}

} // namespace

QString TListViewPanel::TableText() const
{
    return KtTableText::TabText(tableRows(*this));
}

QString TListViewPanel::CsvText() const
{
    return KtTableText::CsvText(tableRows(*this));
}

bool TListViewPanel::ExportCsv(const QString &path, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = CsvText().toUtf8();
        if (file.write(bytes) == bytes.size() && file.commit())
            return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}

void TListViewPanel::CopySelectedRow()
{
    const QString text = SelectedRowText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void TListViewPanel::CopyTable()
{
    QApplication::clipboard()->setText(TableText());
}

void TListViewPanel::ExportCsvAsked()
{
    const QString path = AskSavePath ? AskSavePath(window()) : QString();
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportCsv(path, &error))
        KtMessageService::Warn(window(), tr("Could not write %1: %2").arg(path, error));
}

QMenu *TListViewPanel::ContextMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        QAction *copyRow = m_menu->addAction(tr("&Copy Row"), this, &TListViewPanel::CopySelectedRow);
        copyRow->setShortcut(QKeySequence::Copy);
        m_menu->addAction(tr("Copy &Table"), this, &TListViewPanel::CopyTable);
        m_menu->addAction(tr("&Export CSV..."), this, &TListViewPanel::ExportCsvAsked);
        connect(m_menu, &QMenu::aboutToShow, this,
                [this, copyRow] { copyRow->setEnabled(!ListView->selectedItems().isEmpty()); });
    }
    return m_menu;
}

// ---------------------------------------------------------------- keys and hints

bool TListViewPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListView->viewport() && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QTreeWidgetItem *item = ListView->itemAt(help->pos());
        if (!item) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), RowHint(item), ListView->viewport(), ListView->visualItemRect(item));
        }
        return true;
    }
    if (watched != ListView || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool plain = !(key->modifiers() & ~Qt::KeypadModifier);
    const bool enter = plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    const bool del = plain && key->key() == Qt::Key_Delete;
    const bool copy = key->matches(QKeySequence::Copy);
    if (!enter && !del && !copy)
        return QWidget::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        if (enter)
            emit EditRequested();
        else if (del)
            emit DeleteRequested();
        else
            CopySelectedRow();
    }
    return true;
}
