#pragma once

#include <QString>

class QWidget;

// Every message box and Yes/No question of the program goes through here,
// so that a test can answer them instead of a person.
//
// The default backend shows a modal QMessageBox over the owner. A caption
// left empty becomes the executable's file name.
class KtMessageService
{
public:
    enum class Kind { Inform, Warn, Ask };

    struct Message
    {
        Kind kind = Kind::Inform;
        QWidget *owner = nullptr;
        QString caption;
        QString text;
        QString extraButton;  // a question's third button, beside Yes and No
    };

    // Shows one message; for Kind::Ask returns true for Yes. The return
    // value of the other kinds is ignored.
    class Backend
    {
    public:
        virtual ~Backend() = default;
        virtual bool Show(const Message &message) = 0;
        // A question with a third button: 0 No, 1 Yes, 2 the third button.
        // Backends that do not know it answer Yes or No.
        virtual int Choose(const Message &message) { return Show(message) ? 1 : 0; }
    };

    // Yes/No question; true for Yes.
    static bool Ask(QWidget *owner, const QString &text, const QString &caption = {});
    // Yes, No and a third button (extraButton); 0 No, 1 Yes, 2 the third.
    static int AskWithExtra(QWidget *owner, const QString &text, const QString &caption, const QString &extraButton);
    // OK box without icon (input checks, status errors without a status line).
    static void Inform(QWidget *owner, const QString &text, const QString &caption = {});
    // OK box with a warning icon.
    static void Warn(QWidget *owner, const QString &text, const QString &caption = {});

    // The executable's file name without its folder.
    static QString DefaultCaption();

    // Replaces the backend (not owned); null puts the message boxes back.
    // Returns the previous one.
    static Backend *SetBackend(Backend *backend);
    static Backend *CurrentBackend();

private:
    static bool show(Kind kind, QWidget *owner, const QString &text, const QString &caption);
};
