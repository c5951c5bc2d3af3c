#pragma once

#include "dialogs/generic/TSNMPPanel.h"

class TEditsPanel;

// A panel of variable rows (a scalar group, or a table row field by
// field) with Refresh, Set Checked, Check All, Clear Checks and Close.
class TSNMPEditorPanel : public TSNMPPanel
{
    Q_OBJECT

public:
    TSNMPEditorPanel(QWidget *owner, KtSNMPRequest2Edits *binding);

    TEditsPanel *EditsPanel;

    // Value controls w pixels wide; panel and form grow with them.
    void SetEditWidth(int width);
    // A new input format for the edit box of row i (kinds 1 and 2 only).
    void SetVarFormat(int i, const QString &format);
};
