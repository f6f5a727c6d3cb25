#include "tests/exchange/TransferFixture.h"
#include "tests/support/TreeWaits.h"

#include "exchange/cExportDlg.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/ModalRunner.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>

void TransferFixture::SetUp()
{
    WorkshopFixture::SetUp();
    m_drive = m_drives.mount(QStringLiteral("stick"), FakeDrives::Disk::Usb);
}

QByteArray TransferFixture::Pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed * 31 + 200) & 0xFF);
    return bytes;
}

void TransferFixture::MakeStoredCalibration(const QString& workshop, const QString& vehicle,
                                            const QString& day, int seed, bool withParam)
{
    const QString folder = ExchangeFolderOf(workshop) + u'/' + vehicle + u'/' + day;
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::pair<QString, QByteArray> files[] = {
        {QStringLiteral("PARAM_UP.BIN"), RecordFileBytes(Pattern(175, seed))},
        {QStringLiteral("GSM_UP.BIN"), RecordFileBytes(Pattern(145, seed + 1))},
    };
    for (const auto& [name, bytes] : files) {
        if (!withParam && name.startsWith(QStringLiteral("PARAM")))
            continue;
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

QString TransferFixture::Export()
{
    PushDriveChoice(m_drive + u'/');
    cExportDlg dlg(Lang(StringId::ExportCaption));
    return dlg.Choose(*m_tree) ? dlg.ExportSelection(*m_tree) : QString();
}

QString TransferFixture::Import()
{
    PushDriveChoice(m_drive + u'/');
    cExportDlg dlg(Lang(StringId::ImportCaption));
    const QString done = dlg.Choose(*m_tree) ? dlg.ImportToWorkshop(*m_tree) : QString();
    // The day selected again after the import is read on a worker, under its vehicle's lock.
    EXPECT_TRUE(WaitForTree(*m_tree));
    return done;
}

QMap<QString, QByteArray> TransferFixture::FilesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), ReadFile(path));
    }
    return files;
}

void PushDriveChoice(const QString& root)
{
    ModalRunner::pushHandler([root](QDialog& dialog) {
        auto* list = dialog.findChild<QComboBox*>(QStringLiteral("id1006"));
        EXPECT_NE(list, nullptr);
        if (list)
            list->setCurrentIndex(list->findData(root));
        dialog.accept();
        return dialog.result();
    });
}
