#include "platform/Prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace {
struct PromptState {
    std::deque<Prompts::Answer> answers;
    QStringList shown;
    bool silent = false;
    QString okText;
    QString yesText;
    QString noText;
};

PromptState& state()
{
    static PromptState s;
    return s;
}

QString caption()
{
    return QApplication::applicationDisplayName();
}

void setButtonText(QMessageBox& box, QMessageBox::StandardButton which, const QString& text)
{
    if (QAbstractButton* button = box.button(which); button && !text.isEmpty())
        button->setText(text);
}

void showMessage(QMessageBox::Icon icon, QWidget* parent, const QString& text)
{
    state().shown.append(text);
    if (state().silent)
        return;
    QMessageBox box(icon, caption(), text, QMessageBox::Ok, parent);
    setButtonText(box, QMessageBox::Ok, state().okText);
    box.exec();
}
} // namespace

Prompts::Answer Prompts::askYesNo(QWidget* parent, const QString& text)
{
    state().shown.append(text);
    if (!state().answers.empty()) {
        const Answer answer = state().answers.front();
        state().answers.pop_front();
        return answer;
    }
    QMessageBox box(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    setButtonText(box, QMessageBox::Yes, state().yesText);
    setButtonText(box, QMessageBox::No, state().noText);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void Prompts::warn(QWidget* parent, const QString& text)
{
    showMessage(QMessageBox::Warning, parent, text);
}

void Prompts::inform(QWidget* parent, const QString& text)
{
    showMessage(QMessageBox::Information, parent, text);
}

void Prompts::critical(QWidget* parent, const QString& text)
{
    showMessage(QMessageBox::Critical, parent, text);
}

void Prompts::setButtonTexts(const QString& ok, const QString& yes, const QString& no)
{
    state().okText = ok;
    state().yesText = yes;
    state().noText = no;
}

void Prompts::pushAnswer(Answer answer)
{
    state().answers.push_back(answer);
}

QStringList Prompts::takeShownTexts()
{
    QStringList texts;
    texts.swap(state().shown);
    return texts;
}

void Prompts::setSilent(bool silent)
{
    state().silent = silent;
}
