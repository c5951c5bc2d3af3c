#pragma once

#include <QString>

class KtOptionList;
class KtRadioGroup;
class QComboBox;

// Item i of a filled control is entry i of the list.
void FillComboBox(const KtOptionList &list, QComboBox *combo);
// Selects by label, else by value; no match leaves nothing selected.
void SelectInComboBox(const KtOptionList &list, QComboBox *combo, const QString &text);
void FillRadioGroup(const KtOptionList &list, KtRadioGroup *group);
void SelectInRadioGroup(const KtOptionList &list, KtRadioGroup *group, const QString &text);
