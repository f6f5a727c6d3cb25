#include "app/LockIndicators.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/KeyboardLocks.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {
constexpr int kIndicatorIds[3] = {StringId::IndicatorCaps, StringId::IndicatorNum,
                                  StringId::IndicatorScroll};
constexpr KeyboardLocks::Lock kLocks[3] = {KeyboardLocks::Lock::Caps, KeyboardLocks::Lock::Num,
                                           KeyboardLocks::Lock::Scroll};
} // namespace

LockIndicators::LockIndicators(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QLabel*& label : m_labels) {
        label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    retranslate();
    qApp->installEventFilter(this);
}

void LockIndicators::retranslate()
{
    for (int i = 0; i < 3; ++i) {
        // Wide enough for the text, so the bar does not jump when a lock changes.
        const QString text = Lang(kIndicatorIds[i]);
        m_labels[i]->setMinimumWidth(m_labels[i]->fontMetrics().horizontalAdvance(text) + 8);
        m_labels[i]->setProperty("indicatorText", text);
    }
    refresh();
}

void LockIndicators::refresh()
{
    for (int i = 0; i < 3; ++i) {
        const bool on = KeyboardLocks::isOn(kLocks[i]);
        m_labels[i]->setText(on ? m_labels[i]->property("indicatorText").toString() : QString());
    }
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // Only the lock keys themselves (or coming back to the program) can change a lock, so
    // ordinary typing never reads the LEDs.
    if (event->type() == QEvent::ApplicationActivate) {
        refresh();
    } else if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)
            refresh();
    }
    return QWidget::eventFilter(watched, event);
}
