#pragma once

#include <QString>

// What finds a vehicle, folded once so that matching a typed text costs no more than a few
// substring searches: its registration number (the folder's name), and the VIN, owner's
// name and owner's phone of its latest calibration.
struct FindKeys {
    QString number;
    QString vin;
    QString owner;
    QString phone; // its digits only
    // As the records hold them, for the lists that show them.
    QString ownerText;
    QString phoneText;
    int purpose = 0; // of the latest calibration

    static FindKeys fold(const QString& number, const QString& vin = {}, const QString& owner = {},
                         const QString& phone = {});
};

// A text typed to find vehicles. It matches anywhere in the number, the VIN or the owner's
// name, compared as registration numbers are (case, blanks, dashes and the Cyrillic plate
// letters' Latin look-alikes do not count), and, when it is written as a phone number is,
// anywhere in the phone's digits.
class FindText {
public:
    explicit FindText(const QString& typed);

    // Nothing but blanks and dashes was typed: every vehicle is shown.
    bool isEmpty() const { return m_key.isEmpty(); }
    bool matches(const FindKeys& keys) const;

private:
    QString m_key;
    QString m_digits; // empty unless the text is digits and phone punctuation only
};
