#include "values/widgets/KtRadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

KtRadioGroup::KtRadioGroup(QWidget *parent) : KtRadioGroup(QString(), parent) {}

KtRadioGroup::KtRadioGroup(const QString &title, QWidget *parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)), m_layout(new QGridLayout(this))
{
    connect(m_group, &QButtonGroup::idToggled, this, &KtRadioGroup::buttonToggled);
    connect(m_group, &QButtonGroup::idClicked, this, &KtRadioGroup::buttonClicked);
}

void KtRadioGroup::setItems(const QStringList &items)
{
    clear();
    for (const QString &text : items)
        addItem(text);
}

void KtRadioGroup::addItem(const QString &text)
{
    auto *button = new QRadioButton(text, this);
    m_group->addButton(button, int(m_buttons.size()));
    m_buttons.append(button);
    m_items.append(text);
    relayout();
}

void KtRadioGroup::clear()
{
    // Drop the selection first so that listeners see -1 before the buttons go.
    setItemIndex(-1);
    for (QRadioButton *button : std::as_const(m_buttons)) {
        m_group->removeButton(button);
        m_layout->removeWidget(button);
        // Inside our own signals a button may still be running the toggle
        // or click that led here; it must outlive that.
        if (m_signalDepth > 0) {
            button->hide();
            button->deleteLater();
        } else {
            delete button;
        }
    }
    m_buttons.clear();
    m_items.clear();
}

void KtRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < count()) {
        m_buttons.at(index)->setChecked(true);  // the toggle handler records it
        return;
    }
    // An exclusive group refuses to uncheck its checked button.
    if (QAbstractButton *checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
    changeIndex(-1);
}

void KtRadioGroup::setColumns(int columns)
{
    columns = qMax(1, columns);
    if (columns == m_columns)
        return;
    m_columns = columns;
    relayout();
}

QRadioButton *KtRadioGroup::button(int index) const
{
    return index >= 0 && index < count() ? m_buttons.at(index) : nullptr;
}

void KtRadioGroup::buttonToggled(int id, bool checked)
{
    if (checked)
        changeIndex(id);
    else if (id == m_index
             && std::none_of(m_buttons.cbegin(), m_buttons.cend(),
                             [](const QRadioButton *b) { return b->isChecked(); }))
        changeIndex(-1);  // a switch to another button reports only the new index
}

void KtRadioGroup::buttonClicked(int id)
{
    ++m_signalDepth;
    emit itemClicked(id);
    --m_signalDepth;
}

void KtRadioGroup::relayout()
{
    for (QRadioButton *button : std::as_const(m_buttons))
        m_layout->removeWidget(button);
    const int n = count();
    const int rows = (n + m_columns - 1) / m_columns;
    for (int i = 0; i < n; ++i)
        m_layout->addWidget(m_buttons.at(i), rows ? i % rows : 0, rows ? i / rows : 0);
}

void KtRadioGroup::changeIndex(int index)
{
    if (index == m_index)
        return;
    m_index = index;
    ++m_signalDepth;
    emit itemIndexChanged(index);
    --m_signalDepth;
}
