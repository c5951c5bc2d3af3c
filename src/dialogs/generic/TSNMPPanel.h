#pragma once

#include <QPointer>
#include <QWidget>

class KtSNMPRequest2Edits;
class QLabel;
class QSplitter;
class QVBoxLayout;
class TCtrlBtnPanel;
class TMsgPanel;

// The frame of every SNMP-bound panel: the content at the left, the
// command buttons at the right, the status memo at the bottom (its own,
// or one shared with the panel that opened this one), splitters between.
//
// The binding is borrowed; its status lines go to the memo.
class TSNMPPanel : public QWidget
{
    Q_OBJECT

public:
    TSNMPPanel(QWidget *owner, TMsgPanel *shared, KtSNMPRequest2Edits *binding);

    static constexpr int MaxFormWidth = 800;
    static constexpr int MaxFormHeight = 550;

    QPointer<KtSNMPRequest2Edits> Edits;
    TCtrlBtnPanel *Buttons;
    QWidget *Content;
    TMsgPanel *MsgPanel = nullptr;  // null with a shared memo
    QPointer<QWidget> Form;
    QPointer<QWidget> ContentControl;
    QSplitter *ButtonSplitter;
    QSplitter *MessageSplitter;
    // With a shared memo the failure of a write is repeated here, in the dialog itself.
    QLabel *FailureText;

    // The memo the binding reports to.
    TMsgPanel *Messages() const;
    void SetContent(QWidget *control);
    // The panel fills form; the form grows to the panel, at most 800 x 550.
    void AttachToForm(QWidget *form);
    void ShowFailure(const QString &text);

    // Content beside the buttons, the memo below; computed here so that it
    // follows the content at once rather than after the splitters' next layout.
    QSize sizeHint() const override;

    // The Refresh and Close buttons.
    virtual void Refresh();
    void CloseForm();

    // Content, buttons and memo in tab order.
    void UpdateTabOrder();

private:
    QList<QWidget *> ContentFocusChain() const;

    QPointer<TMsgPanel> m_shared;
    QWidget *m_holder;
    QVBoxLayout *m_holderLayout;
};
