#include "desktop/services/MessageBoxes.h"

#include <QMessageBox>
#include <deque>

#include "desktop/services/WindowFrame.h"

namespace {

struct Script {
    bool active = false;
    std::deque<bool> answers;
    QStringList shown;
};

Script& TheScript()
{
    static Script script;
    return script;
}

} // namespace

void MessageBoxes::ShowMessage(QWidget* parent, const QString& text)
{
    Script& script = TheScript();
    if (script.active) {
        script.shown << ProgramTitle + "|" + text;
        return;
    }
    QMessageBox box(QMessageBox::Information, ProgramTitle, text, QMessageBox::Ok, parent);
    KeepNaturalSize(box);
    box.exec();
}

bool MessageBoxes::AskYesNo(QWidget* parent, const QString& text, const QString& title)
{
    const QString caption = title.isEmpty() ? ProgramTitle : title;
    Script& script = TheScript();
    if (script.active) {
        script.shown << caption + "|" + text;
        if (script.answers.empty()) return false;
        const bool yes = script.answers.front();
        script.answers.pop_front();
        return yes;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    KeepNaturalSize(box);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxes::BeginScript()
{
    TheScript() = Script{true, {}, {}};
}

void MessageBoxes::QueueAnswer(bool yes)
{
    TheScript().answers.push_back(yes);
}

QStringList MessageBoxes::TakeShown()
{
    QStringList shown;
    shown.swap(TheScript().shown);
    return shown;
}

void MessageBoxes::EndScript()
{
    TheScript() = Script{};
}
