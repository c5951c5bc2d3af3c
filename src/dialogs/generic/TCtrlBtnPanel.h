#pragma once

#include <QList>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The column of command buttons at the right of every SNMP panel, with the
// row counter of a table above them. Which buttons show is decided by the
// content (ArrangeCtrlBtn of the edits and list-view panels); hidden ones
// take no room.
//
// A bitmap in the current folder named after a button ("Get.bmp" for
// Refresh ...) replaces its caption; the caption then stays as tool tip.
class TCtrlBtnPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TCtrlBtnPanel(QWidget *owner);

    QLabel *SamplesLabel;
    QLabel *CountText;
    QPushButton *RefreshButton;
    QPushButton *StopButton;  // a table panel's walk; hidden elsewhere
    QPushButton *EditButton;
    QPushButton *SetCheckedButton;
    QPushButton *AddButton;
    QPushButton *DeleteButton;
    QPushButton *CheckAllButton;
    QPushButton *ClearChecksButton;
    QPushButton *CloseButton;

    int LeftMargin = 10;
    int TopMargin = 10;
    static constexpr int ButtonWidth = 96;
    QList<QWidget *> ArrangeList;

    // Stacks the controls in ArrangeList order and gives the buttons that tab order.
    void Arrange();

    // Sets a caption with its mnemonic; a button showing a glyph keeps it as tool tip.
    static void SetCaption(QPushButton *button, const QString &caption);
    // The caption without mnemonic marks ("Set Checked", "Set").
    static QString Caption(const QAbstractButton *button);
    // The tag of a button; 1 marks the Set buttons of the add and edit dialogs.
    static int Tag(const QAbstractButton *button);
    static void SetTag(QAbstractButton *button, int tag);

private:
    QPushButton *makeButton(const QString &caption, const QString &glyphFile);

    QVBoxLayout *m_layout;
};
