#pragma once

#include <QWidget>

class QPlainTextEdit;

// The status memo at the bottom of a panel: one line per status, read-only.
class TMsgPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TMsgPanel(QWidget *owner);

    static constexpr int DefaultHeight = 50;
    QPlainTextEdit *Memo;

    QSize sizeHint() const override;
};
