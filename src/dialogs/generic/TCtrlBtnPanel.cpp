#include "dialogs/generic/TCtrlBtnPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const TagProperty = "qsxTag";
const char *const CaptionProperty = "qsxCaption";

} // namespace

TCtrlBtnPanel::TCtrlBtnPanel(QWidget *owner) : QWidget(owner), m_layout(new QVBoxLayout(this))
{
    SamplesLabel = new QLabel(tr("Samples"), this);
    SamplesLabel->setAlignment(Qt::AlignCenter);
    CountText = new QLabel(QStringLiteral("0"), this);
    CountText->setAlignment(Qt::AlignCenter);
    CountText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    CountText->setObjectName(QStringLiteral("CountText"));

    RefreshButton = makeButton(tr("&Refresh"), QStringLiteral("Get.bmp"));
    StopButton = makeButton(tr("S&top"), QStringLiteral("Stop.bmp"));
    EditButton = makeButton(tr("&Edit"), QStringLiteral("Set.bmp"));
    SetCheckedButton = makeButton(tr("&Set Checked"), QStringLiteral("SetCheck.bmp"));
    AddButton = makeButton(tr("&Add"), QStringLiteral("Add.bmp"));
    DeleteButton = makeButton(tr("&Delete"), QStringLiteral("Delete.bmp"));
    CheckAllButton = makeButton(tr("Check A&ll"), QStringLiteral("SelectAll.bmp"));
    ClearChecksButton = makeButton(tr("Clear Chec&ks"), QStringLiteral("SelectNone.bmp"));
    CloseButton = makeButton(tr("&Close"), QStringLiteral("Close.bmp"));

    ArrangeList = {CountText, SamplesLabel,   RefreshButton,     StopButton, EditButton, SetCheckedButton,
                   AddButton, DeleteButton,   CheckAllButton,    ClearChecksButton, CloseButton};
    for (QWidget *w : ArrangeList)
        w->setFixedWidth(ButtonWidth);

    m_layout->setContentsMargins(LeftMargin, TopMargin, LeftMargin, TopMargin);
    m_layout->setSpacing(5);
    StopButton->hide();
    AddButton->hide();
    DeleteButton->hide();
    Arrange();
    setFixedWidth(2 * LeftMargin + ButtonWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QPushButton *TCtrlBtnPanel::makeButton(const QString &caption, const QString &glyphFile)
{
    auto *button = new QPushButton(this);
    // Enter in an edit box of the dialog must not press a button.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setObjectName(caption.toLower().remove(QLatin1Char('&')).remove(QLatin1Char(' ')) + QStringLiteral("Button"));
    const QString path = QDir::current().filePath(glyphFile);
    if (QFileInfo::exists(path)) {
        QPixmap glyph;
        if (glyph.load(path) && !glyph.isNull()) {
            button->setIcon(glyph);
            button->setIconSize(glyph.deviceIndependentSize().toSize());
            button->setProperty("qsxGlyph", true);
        }
    }
    SetCaption(button, caption);
    return button;
}

void TCtrlBtnPanel::SetCaption(QPushButton *button, const QString &caption)
{
    button->setProperty(CaptionProperty, caption);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    if (button->property("qsxGlyph").toBool()) {
        button->setText(QString());
        button->setToolTip(plain);
        button->setAccessibleName(plain);
    } else {
        button->setText(caption);
    }
}

QString TCtrlBtnPanel::Caption(const QAbstractButton *button)
{
    QString caption = button->property(CaptionProperty).toString();
    if (caption.isEmpty())
        caption = button->text();
    return caption.remove(QLatin1Char('&'));
}

int TCtrlBtnPanel::Tag(const QAbstractButton *button)
{
    return button ? button->property(TagProperty).toInt() : 0;
}

void TCtrlBtnPanel::SetTag(QAbstractButton *button, int tag)
{
    button->setProperty(TagProperty, tag);
}

void TCtrlBtnPanel::Arrange()
{
    while (m_layout->count() > 0)
        delete m_layout->takeAt(0);
    QWidget *previous = nullptr;
    for (QWidget *w : ArrangeList) {
        w->setFixedWidth(ButtonWidth);
        m_layout->addWidget(w, 0, Qt::AlignHCenter);
        if (w->focusPolicy() != Qt::NoFocus) {
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }
    m_layout->addStretch(1);
    updateGeometry();
}
