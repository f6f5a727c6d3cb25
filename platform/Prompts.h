#pragma once

#include <QString>

#include <deque>

class QWidget;

// Message boxes. Tests queue the answers instead of a person clicking; every shown text is
// recorded so a test can check what the user was told.
class Prompts {
public:
    enum class Answer { Yes, No, Save, Discard, Cancel };

    static Answer askYesNo(QWidget* parent, const QString& text);
    // Asks what becomes of changes that are not saved: Save, Discard or Cancel; without
    // `discard` only the save button (its text `saveText` when given) and Cancel. Escape and
    // closing the box are Cancel. With messages silenced and no answer queued, the answer is
    // Cancel, which changes nothing. `discardText` renames the discard button.
    static Answer askToSave(QWidget* parent, const QString& text, bool discard = true,
                            const QString& saveText = QString(),
                            const QString& discardText = QString());
    // `details` goes into the box's expandable part; the record of shown texts holds both.
    static void warn(QWidget* parent, const QString& text, const QString& details = QString());
    static void inform(QWidget* parent, const QString& text);
    static void critical(QWidget* parent, const QString& text);

    // Button texts in the language of the user interface.
    static void setButtonTexts(const QString& ok, const QString& yes, const QString& no,
                               const QString& save, const QString& discard, const QString& cancel);

    static void pushAnswer(Answer answer);
    // Texts shown since the last call, oldest first; the list is emptied.
    static QStringList takeShownTexts();
    // When set, warnings, errors and information are recorded but not shown (tests).
    static void setSilent(bool silent);
};
