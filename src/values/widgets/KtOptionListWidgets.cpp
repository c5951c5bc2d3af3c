#include "values/widgets/KtOptionListWidgets.h"

#include "values/KtOptionList.h"
#include "values/widgets/KtRadioGroup.h"

#include <QComboBox>

namespace {

QStringList labels(const KtOptionList &list)
{
    QStringList result;
    result.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        result.append(list.Get(i).Label);
    return result;
}

int selectionIndex(const KtOptionList &list, const QString &text)
{
    const int byLabel = list.IndexOfLabel(text);
    return byLabel >= 0 ? byLabel : list.IndexOfValue(text);
}

} // namespace

void FillComboBox(const KtOptionList &list, QComboBox *combo)
{
    if (!combo)
        return;
    combo->clear();
    combo->addItems(labels(list));
}

void SelectInComboBox(const KtOptionList &list, QComboBox *combo, const QString &text)
{
    if (!combo)
        return;
    const int index = selectionIndex(list, text);
    combo->setCurrentIndex(index < combo->count() ? index : -1);
}

void FillRadioGroup(const KtOptionList &list, KtRadioGroup *group)
{
    if (!group)
        return;
    group->setItems(labels(list));
}

void SelectInRadioGroup(const KtOptionList &list, KtRadioGroup *group, const QString &text)
{
    if (!group)
        return;
    group->setItemIndex(selectionIndex(list, text));
}
