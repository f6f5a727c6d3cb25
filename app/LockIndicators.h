#pragma once

#include <QWidget>

class QLabel;

// The status bar's Caps Lock, Num Lock and Scroll Lock indicators, in that order. Each
// shows its text from the language pack while its lock is on and is blank otherwise, and
// is updated when a lock key is released anywhere in the program or the program is activated.
class LockIndicators : public QWidget {
    Q_OBJECT
public:
    explicit LockIndicators(QWidget* parent = nullptr);

    void retranslate();
    void refresh();

    QLabel* label(int index) const { return m_labels[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_labels[3] = {};
};
