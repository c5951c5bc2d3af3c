#pragma once

#include <functional>

class KtSNMPRequest2Controls;
class QWidget;

// Runs work for a widget's signal or event. A KtException it raises ends
// there: its message goes to the binding's status line, or without a
// binding into a message box over owner.
void KtRunGuarded(QWidget *owner, KtSNMPRequest2Controls *binding, const std::function<void()> &work);
