#include "tests/exchange/WorkshopFixture.h"
#include "tests/support/TreeWaits.h"

#include "platform/ModalRunner.h"
#include "platform/Prompts.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <vector>

void WorkshopFixture::SetUp()
{
    Prompts::setSilent(true);
    Prompts::takeShownTexts();
    m_tree = std::make_unique<cTree>(m_reg, m_current);
}

void WorkshopFixture::TearDown()
{
    EXPECT_FALSE(ModalRunner::hasPendingHandlers()) << "a queued dialog answer was not used";
    ModalRunner::clearHandlers();
    m_tree.reset();
}

QString WorkshopFixture::MakeWorkshopFolder(const QString& name, bool withRecord)
{
    const QString folder = m_data.filePath(name);
    EXPECT_TRUE(QDir().mkpath(ExchangeFolderOf(folder)));
    if (withRecord) {
        WorkshopRecord record;
        record.setField(WorkshopRecord::Field::Name, name);
        EXPECT_TRUE(WriteRecordFile(WorkshopRecordPathOf(folder), record.bytes));
    }
    return folder;
}

void WorkshopFixture::MakeCalibration(const QString& workshop, const QString& vehicle,
                                      const QString& day)
{
    const QString dayFolder = ExchangeFolderOf(workshop) + u'/' + vehicle + u'/' + day;
    ASSERT_TRUE(QDir().mkpath(dayFolder));
    std::vector<std::uint8_t> param(RecordSize::Param, 0);
    std::vector<std::uint8_t> gsm(RecordSize::Gsm, 0);
    param[0] = gsm[0] = 1;
    ASSERT_TRUE(WriteRecordFile(dayFolder + QStringLiteral("/PARAM_UP.BIN"), param));
    ASSERT_TRUE(WriteRecordFile(dayFolder + QStringLiteral("/GSM_UP.BIN"), gsm));
}

void WorkshopFixture::Register(const QString& workshop)
{
    WorkshopEntry entry;
    entry.folderPath = workshop;
    ReadRecordFile(WorkshopRecordPathOf(workshop), entry.record.bytes);
    m_reg.entries().push_back(entry);
    ASSERT_TRUE(RebuildAndWait(*m_tree));
}

TreeNode WorkshopFixture::FindNode(int level, const QString& text, TreeNode under) const
{
    const int count = under ? under->childCount() : m_tree->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        TreeNode node = under ? under->child(i) : m_tree->topLevelItem(i);
        if (cTree::NodeLevel(node) == level && m_tree->GetNodeText(node) == text)
            return node;
        if (TreeNode found = FindNode(level, text, node))
            return found;
    }
    return nullptr;
}

QByteArray WorkshopFixture::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray WorkshopFixture::RecordFileBytes(const QByteArray& payload)
{
    std::uint32_t sum = 0;
    for (const char byte : payload)
        sum += static_cast<std::uint8_t>(byte);
    QByteArray bytes = payload;
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((sum >> (8 * i)) & 0xFF));
    return bytes;
}

void PushDetailsAnswer(const QString& name, const QString& address, const QString& phone,
                       const QString& index)
{
    ModalRunner::pushHandler([=](QDialog& dialog) {
        const QString texts[] = {name, address, phone, index};
        for (int i = 0; i < 4; ++i) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(1010 + i));
            EXPECT_NE(edit, nullptr);
            if (edit)
                edit->setText(texts[i]);
        }
        dialog.accept();
        return dialog.result();
    });
}

void PushUnexpectedDialog()
{
    ModalRunner::pushHandler([](QDialog& dialog) {
        ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
        return int(QDialog::Rejected);
    });
}

void ExpectNoDialogRan()
{
    EXPECT_TRUE(ModalRunner::hasPendingHandlers()) << "a dialog ran";
    ModalRunner::clearHandlers();
}
