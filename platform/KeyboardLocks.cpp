#include "platform/KeyboardLocks.h"

#include <QDir>
#include <QFile>

namespace {
QString g_ledsRoot = QStringLiteral("/sys/class/leds");

QString suffixOf(KeyboardLocks::Lock lock)
{
    switch (lock) {
    case KeyboardLocks::Lock::Caps:
        return QStringLiteral("::capslock");
    case KeyboardLocks::Lock::Num:
        return QStringLiteral("::numlock");
    case KeyboardLocks::Lock::Scroll:
        return QStringLiteral("::scrolllock");
    }
    return {};
}
} // namespace

bool KeyboardLocks::isOn(Lock lock)
{
    const QString suffix = suffixOf(lock);
    const QDir leds(g_ledsRoot);
    const QStringList names = leds.entryList({QLatin1Char('*') + suffix},
                                             QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : names) {
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed().toInt() > 0)
            return true;
    }
    return false;
}

void KeyboardLocks::setLedsRoot(const QString& folder)
{
    g_ledsRoot = folder;
}
