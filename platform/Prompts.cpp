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
    QString saveText;
    QString discardText;
    QString cancelText;
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

void showMessage(QMessageBox::Icon icon, QWidget* parent, const QString& text,
                 const QString& details = QString())
{
    state().shown.append(details.isEmpty() ? text : text + QStringLiteral("\n\n") + details);
    if (state().silent)
        return;
    QMessageBox box(icon, caption(), text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
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

Prompts::Answer Prompts::askToSave(QWidget* parent, const QString& text, bool discard,
                                   const QString& saveText, const QString& discardText)
{
    state().shown.append(text);
    if (!state().answers.empty()) {
        const Answer answer = state().answers.front();
        state().answers.pop_front();
        return answer;
    }
    if (state().silent)
        return Answer::Cancel;
    QMessageBox::StandardButtons buttons = QMessageBox::Save | QMessageBox::Cancel;
    if (discard)
        buttons |= QMessageBox::Discard;
    QMessageBox box(QMessageBox::Warning, caption(), text, buttons, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    setButtonText(box, QMessageBox::Save, saveText.isEmpty() ? state().saveText : saveText);
    setButtonText(box, QMessageBox::Discard,
                  discardText.isEmpty() ? state().discardText : discardText);
    setButtonText(box, QMessageBox::Cancel, state().cancelText);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

void Prompts::warn(QWidget* parent, const QString& text, const QString& details)
{
    showMessage(QMessageBox::Warning, parent, text, details);
}

void Prompts::inform(QWidget* parent, const QString& text)
{
    showMessage(QMessageBox::Information, parent, text);
}

void Prompts::critical(QWidget* parent, const QString& text)
{
    showMessage(QMessageBox::Critical, parent, text);
}

void Prompts::setButtonTexts(const QString& ok, const QString& yes, const QString& no,
                             const QString& save, const QString& discard, const QString& cancel)
{
    state().okText = ok;
    state().yesText = yes;
    state().noText = no;
    state().saveText = save;
    state().discardText = discard;
    state().cancelText = cancel;
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
