#pragma once

#include "values/KtOptionList.h"

#include <initializer_list>
#include <utility>

// An integer option list from value/label pairs, for the enumerations
// that a dialog defines beside its own descriptors.
KtOptionList KtIntOptionList(std::initializer_list<std::pair<qint32, const char *>> entries);
