#include "../reports/FakePrinters.h"
#include "platform/ModalRunner.h"
#include "reports/PrinterSettings.h"
#include "reports/cPrinterSettingsDlg.h"
#include "store/EnsureWorkshopRecord.h"
#include "store/WorkshopRegister.h"
#include "tests/support/TempDataFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

// The workshop record and the printer choice, written the user's way, checked field by field
// at the byte offsets and widths that the tachograph and older installations read them at.
// The expected bytes are spelled out here rather than taken from the program's layouts.
namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A text of `length` characters that fills a field to its last place, ASCII and Cyrillic in
// turn so that both bytes of a unit matter; `first` makes each field's text its own.
QString FieldText(char16_t first, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(i % 2 ? char16_t(0x0410 + i % 32) : char16_t(first + i % 10)));
    return text;
}

// The field as the file must hold it: UTF-16LE units, then zero bytes to its width.
QByteArray Expected(const QString& text, int width)
{
    QByteArray out(width, '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[2 * i] = char(text.at(i).unicode() & 0xFF);
        out[2 * i + 1] = char(text.at(i).unicode() >> 8);
    }
    return out;
}

TEST(FileLayout, WorkshopRecordAndPrinterChoiceAtTheirOffsets)
{
    TempDataFolder data;
    const QStringList details{FieldText(u'a', 259), FieldText(u'k', 259), FieldText(u'0', 31),
                              FieldText(u'A', 31)};
    const QStringList printers{FieldText(u'K', 259), FieldText(u'U', 259)};

    // The user types the workshop's details into the dialog and presses OK.
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("shop")));
    WorkshopEntry entry;
    entry.folderPath = data.filePath(QStringLiteral("shop"));
    ModalRunner::pushHandler([&](QDialog& dialog) {
        for (int i = 0; i < details.size(); ++i)
            dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(1010 + i))->setText(details[i]);
        dialog.accept();
        return dialog.result();
    });
    ASSERT_TRUE(EnsureWorkshopRecord(entry));

    // The user picks a printer for each document and presses OK.
    FakePrinters fake(printers, printers[0]);
    cPrinterSettingsDlg dialog;
    ModalRunner::pushHandler([&](QDialog& d) {
        d.findChild<QComboBox*>(QStringLiteral("id1007"))->setCurrentText(printers[0]);
        d.findChild<QComboBox*>(QStringLiteral("id1008"))->setCurrentText(printers[1]);
        d.accept();
        return d.result();
    });
    ASSERT_EQ(ModalRunner::run(dialog), QDialog::Accepted);

    const QByteArray workshop = ReadFile(WorkshopRecordPathOf(entry.folderPath));
    const QByteArray printer = ReadFile(PrinterSettings::filePath());
    ASSERT_EQ(workshop.size(), 1172);
    ASSERT_EQ(printer.size(), 1040);

    const struct {
        const QByteArray& file;
        int offset;
        int width;
        QString text;
    } fields[] = {
        {workshop, 0, 520, details[0]},   {workshop, 520, 520, details[1]},
        {workshop, 1040, 64, details[2]}, {workshop, 1104, 64, details[3]},
        {printer, 0, 520, printers[0]},   {printer, 520, 520, printers[1]},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.offset);
        EXPECT_EQ(f.file.mid(f.offset, f.width), Expected(f.text, f.width));
    }

    // The workshop record ends in the little-endian sum of its 1168 payload bytes.
    quint32 sum = 0;
    for (int i = 0; i < 1168; ++i)
        sum += quint8(workshop.at(i));
    QByteArray trailer;
    for (int shift : {0, 8, 16, 24})
        trailer.append(char(sum >> shift & 0xFF));
    EXPECT_EQ(workshop.mid(1168), trailer);
}

} // namespace
