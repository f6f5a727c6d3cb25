#pragma once

#include <QString>

// State of the Caps Lock, Num Lock and Scroll Lock keys, read from the keyboard LEDs the
// kernel exposes under /sys/class/leds (readable by every user, and the same under X11 and
// Wayland). Where no such LED exists (a virtual display), the lock reads as off.
class KeyboardLocks {
public:
    enum class Lock { Caps, Num, Scroll };

    static bool isOn(Lock lock);

    // Test seam: the folder that stands for /sys/class/leds.
    static void setLedsRoot(const QString& folder);
};
