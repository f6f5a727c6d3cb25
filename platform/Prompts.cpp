#include "platform/Prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace {
struct PromptState {
    std::deque<Prompts::Answer> answers;
    QStringList shown;
    bool silent = false;
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
} // namespace

Prompts::Answer Prompts::askYesNo(QWidget* parent, const QString& text)
{
    state().shown.append(text);
    if (!state().answers.empty()) {
        const Answer answer = state().answers.front();
        state().answers.pop_front();
        return answer;
    }
    const auto button = QMessageBox::question(parent, caption(), text,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void Prompts::warn(QWidget* parent, const QString& text)
{
    state().shown.append(text);
    if (!state().silent)
        QMessageBox::warning(parent, caption(), text);
}

void Prompts::inform(QWidget* parent, const QString& text)
{
    state().shown.append(text);
    if (!state().silent)
        QMessageBox::information(parent, caption(), text);
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
