#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// The printer chosen for each document, kept in printer.txt in the data folder:
//
//   offset  bytes  content
//        0    520  record printer: up to 259 UTF-16LE characters, zero-terminated, zero-filled
//      520    520  ticket printer: the same form
//
// exactly 1040 bytes, no header. A missing file gives two empty names; a shorter one reads as
// if it were filled up with zero bytes.
struct PrinterSettings {
    struct Layout {
        static constexpr std::size_t RecordOffset = 0;
        static constexpr std::size_t TicketOffset = 520;
        static constexpr std::size_t NameUnits = 260;
        static constexpr std::size_t Size = 1040;
    };
    static constexpr int MaxNameLength = Layout::NameUnits - 1;

    QString recordPrinter;
    QString ticketPrinter;

    static QString filePath();
    static PrinterSettings fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    static PrinterSettings load(const QString& path = filePath());
    // Replaces the file whole; false, with the old file kept, when that fails.
    bool save(const QString& path = filePath()) const;

    bool operator==(const PrinterSettings&) const = default;
};
