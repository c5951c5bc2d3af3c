#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A titled group of radio buttons whose item index is the position of the
// checked button; -1 means no button is checked.
class KtRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit KtRadioGroup(QWidget *parent = nullptr);
    explicit KtRadioGroup(const QString &title, QWidget *parent = nullptr);

    QStringList items() const { return m_items; }
    int count() const { return int(m_items.size()); }
    void setItems(const QStringList &items);
    void addItem(const QString &text);
    void clear();

    int itemIndex() const { return m_index; }
    // Out-of-range indexes, -1 included, leave no button checked.
    void setItemIndex(int index);

    // Buttons are laid out column-major over this many columns.
    int columns() const { return m_columns; }
    void setColumns(int columns);

    QRadioButton *button(int index) const;

signals:
    // Any change of the index, by the user or by setItemIndex/setItems.
    void itemIndexChanged(int index);
    // Only a button clicked by the user.
    void itemClicked(int index);

private:
    void buttonToggled(int id, bool checked);
    void buttonClicked(int id);
    void relayout();
    void changeIndex(int index);

    QStringList m_items;
    QList<QRadioButton *> m_buttons;
    QButtonGroup *m_group;
    QGridLayout *m_layout;
    int m_index = -1;
    int m_columns = 1;
    int m_signalDepth = 0;  // emissions of our signals in progress
};
