#include "shell/TFindEntryDialog.h"

#include "shell/catalogue/KtEntryMatch.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int NameRole = Qt::UserRole;
constexpr int MenuOrderRole = Qt::UserRole + 1;
constexpr int RankRole = Qt::UserRole + 2;

// Ordered by how well the filter matches, then in menu order: sorting the
// items in place lets the list keep them and only move what changed place.
class EntryItem : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;

    bool operator<(const QListWidgetItem &other) const override
    {
        const int rank = data(RankRole).toInt(), otherRank = other.data(RankRole).toInt();
        if (rank != otherRank)
            return rank > otherRank;
        return data(MenuOrderRole).toInt() < other.data(MenuOrderRole).toInt();
    }
};

} // namespace

TFindEntryDialog::TFindEntryDialog(const QList<Entry> &entries, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FindEntryDialog"));
    setWindowTitle(QStringLiteral("Find entry"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("&Entry:"), this);
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setPlaceholderText(QStringLiteral("Words of the menu path"));
    FilterEdit->setClearButtonEnabled(true);
    label->setBuddy(FilterEdit);
    EntryList = new QListWidget(this);
    EntryList->setObjectName(QStringLiteral("EntryList"));
    EntryList->setUniformItemSizes(true);
    for (const Entry &entry : entries) {
        auto *item = new EntryItem(entry.Path, EntryList);
        item->setData(NameRole, entry.Name);
        item->setData(MenuOrderRole, EntryList->count() - 1);
        item->setData(RankRole, int(KtEntryMatch::Match(entry.Path, QString())));
        if (!entry.Enabled)
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        if (!entry.Reason.isEmpty())
            item->setToolTip(entry.Reason);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    layout->addWidget(label);
    layout->addWidget(FilterEdit);
    layout->addWidget(EntryList, 1);
    layout->addWidget(buttons);
    resize(520, 420);

    connect(FilterEdit, &QLineEdit::textChanged, this, &TFindEntryDialog::applyFilter);
    connect(EntryList, &QListWidget::itemActivated, this, &TFindEntryDialog::pick);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { pick(EntryList->currentItem()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FilterEdit->installEventFilter(this);
    selectFirstEnabled();
}

QStringList TFindEntryDialog::ShownPaths() const
{
    QStringList paths;
    for (int i = 0; i < EntryList->count(); ++i)
        if (!EntryList->item(i)->isHidden())
            paths << EntryList->item(i)->text();
    return paths;
}

void TFindEntryDialog::applyFilter(const QString &filter)
{
    // Every keystroke comes here: items are ranked where they are, sorted only
    // when the ranks left them out of order, and hidden only where that changes.
    bool sorted = true;
    const QListWidgetItem *previous = nullptr;
    for (int i = 0; i < EntryList->count(); ++i) {
        QListWidgetItem *item = EntryList->item(i);
        const KtEntryMatch::Rank rank = KtEntryMatch::Match(item->text(), filter);
        item->setData(RankRole, int(rank));
        if (previous && *item < *previous)
            sorted = false;
        previous = item;
    }
    EntryList->setCurrentItem(nullptr);
    if (!sorted)
        EntryList->sortItems();
    for (int i = 0; i < EntryList->count(); ++i) {
        QListWidgetItem *item = EntryList->item(i);
        const bool hidden = item->data(RankRole).toInt() == KtEntryMatch::NoMatch;
        if (item->isHidden() != hidden)
            item->setHidden(hidden);
    }
    // The best match is the one Enter opens.
    selectFirstEnabled();
}

void TFindEntryDialog::selectFirstEnabled()
{
    QListWidgetItem *current = EntryList->currentItem();
    if (current && !current->isHidden() && (current->flags() & Qt::ItemIsEnabled))
        return;
    for (int i = 0; i < EntryList->count(); ++i) {
        QListWidgetItem *item = EntryList->item(i);
        if (!item->isHidden() && (item->flags() & Qt::ItemIsEnabled)) {
            EntryList->setCurrentItem(item);
            EntryList->scrollToItem(item);
            return;
        }
    }
    EntryList->setCurrentItem(nullptr);
}

void TFindEntryDialog::pick(QListWidgetItem *item)
{
    if (!item || item->isHidden() || !(item->flags() & Qt::ItemIsEnabled))
        return;
    m_chosen = item->data(NameRole).toString();
    accept();
}

// The arrows and page keys move through the list while typing goes on in the filter.
bool TFindEntryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FilterEdit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(EntryList, &copy);
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
            pick(EntryList->currentItem());
            return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
