#pragma once

#include <QDialog>
#include <QEvent>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class KtSNMPRequest2Edits;
class QTabWidget;
class TSNMPEditorPanel;
class TSNMPListViewPanel;

// The dialog that most menu entries open: one editor panel, one table
// panel, or pages of them, each driven by its own binding.
//
// The form owns the bindings handed to it. Its first read is posted to
// itself when it is constructed, so it runs inside the modal loop after
// the caller's tailoring; another page is read when it is chosen, and the
// walk of the page left stops at once, keeping its rows. Closing stops every
// binding, waits (bounded) until nothing is outstanding and deletes them.
//
// Calls in the wrong order raise KtException with a fixed text.
class TConfigForm : public QDialog
{
    Q_OBJECT

public:
    enum Type : quint8 { None = 0, Editor = 1, ListView = 2, Paged = 3 };

    explicit TConfigForm(QWidget *owner = nullptr);
    ~TConfigForm() override;

    // The event the form posts to itself to run its first read.
    static QEvent::Type RefreshEvent();

    quint8 FormType = None;
    std::vector<std::unique_ptr<KtSNMPRequest2Edits>> EditsList;
    QTabWidget *Pages = nullptr;
    QPointer<KtSNMPRequest2Edits> ActiveBinding;
    // Runs after the form's own close processing (FormClose).
    std::function<void(TConfigForm *form)> AfterClose;

    TSNMPEditorPanel *SetEditorPanel(KtSNMPRequest2Edits *binding);
    TSNMPListViewPanel *SetListViewPanel(KtSNMPRequest2Edits *binding, int addColumn = -1,
                                         const QString &addValue = {}, int deleteColumn = -1,
                                         const QString &deleteValue = {});
    void MakePaged();
    TSNMPEditorPanel *AddEditorPage(const QString &title, KtSNMPRequest2Edits *binding);
    TSNMPListViewPanel *AddListViewPage(const QString &title, KtSNMPRequest2Edits *binding, int addColumn = -1,
                                        const QString &addValue = {}, int deleteColumn = -1,
                                        const QString &deleteValue = {});

    // Reads the binding of the visible panel.
    void RefreshActive();
    // Stops and deletes every binding; runs once.
    void FormClose();

    // The binding of the visible panel (null before layout or without pages).
    KtSNMPRequest2Edits *VisibleBinding() const;

protected:
    bool event(QEvent *event) override;
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

private:
    KtSNMPRequest2Edits *adopt(KtSNMPRequest2Edits *binding);
    void requireType(quint8 type, const char *message, KtSNMPRequest2Edits *binding = nullptr);
    QWidget *addPage(const QString &title);
    void finishPage(QWidget *page);
    void growTo(const QSize &size);
    static void setStatus(TSNMPListViewPanel *panel, int addColumn, const QString &addValue, int deleteColumn,
                          const QString &deleteValue);

    std::vector<std::unique_ptr<KtSNMPRequest2Edits>> m_refused;  // handed over with a call that raised
    bool m_refreshed = false;
    bool m_closed = false;
    bool m_placed = false;
};
