#pragma once
// Every message box of the program goes through here, so they all carry the title "Quillon" and
// tests can answer them from a script instead of a person.

#include <QString>
#include <QStringList>

class QWidget;

class MessageBoxes {
public:
    // A message with an OK button and the program's title.
    static void ShowMessage(QWidget* parent, const QString& text);
    // A Yes/No question; true for Yes. The title is the program's unless one is given.
    static bool AskYesNo(QWidget* parent, const QString& text, const QString& title = QString());

    // Test hook: from now on no box is shown. Every text is recorded (title + "|" + text) and
    // questions take the queued answers in order; a question with no answer queued counts as No.
    static void BeginScript();
    static void QueueAnswer(bool yes);
    // The texts shown since BeginScript, oldest first; clears the record.
    static QStringList TakeShown();
    static void EndScript();
};

inline const QString ProgramTitle = QStringLiteral("Quillon");
