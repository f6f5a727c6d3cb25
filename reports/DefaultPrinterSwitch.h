#pragma once

#include <QString>

// While a report is shown its printer is the desktop's default printer, so that printing
// from the report window goes there; the default found at start-up is put back when the
// window closes or the program ends.
class DefaultPrinterSwitch {
public:
    void saveStartupDefault();
    QString savedDefault() const { return m_saved; }
    bool isSwitched() const { return m_switched; }

    // Makes `printer` the default. An empty name changes nothing; a printer that no longer
    // exists, or a default that cannot be set, leaves the default as it is and gives the
    // user's message. Empty when nothing needs saying.
    QString switchTo(const QString& printer);
    // Puts the start-up default back when a report switched it.
    void restore();

private:
    QString m_saved;
    bool m_switched = false;
};
