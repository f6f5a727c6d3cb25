#pragma once

#include <QDialog>
#include <QString>

// Fills a QDialog with dialog template `id` of the loaded language pack: the template's
// widget becomes the dialog's content, its window title the dialog's caption, and its
// QDialogButtonBox ("buttonBox") is connected to accept() and reject(), so a dialog class
// overrides accept() for what the OK button does.
class DialogTemplate {
public:
    static QWidget* install(QDialog* dialog, int templateId);

    // The control with object name "id<controlId>" of type T. A template that lacks it is a
    // packaging fault: it is reported with qCritical and null is returned.
    template <class T> static T* control(QDialog* dialog, int controlId)
    {
        T* widget = dialog->findChild<T*>(QStringLiteral("id%1").arg(controlId));
        if (!widget)
            reportMissing(dialog, controlId);
        return widget;
    }

private:
    static void reportMissing(QDialog* dialog, int controlId);
};
