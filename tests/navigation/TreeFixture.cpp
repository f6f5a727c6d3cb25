#include "tests/navigation/TreeFixture.h"

#include "store/FolderOps.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QFile>

TreeFixture::TreeFixture()
{
    QObject::connect(&m_tree, &cTree::titleChanged,
                     [this](const QString& title) { m_titles.append(title); });
}

QString TreeFixture::MakeWorkshop(const QString& name, bool withExchange)
{
    const QString path = m_data.filePath(name);
    EXPECT_TRUE(QDir().mkpath(withExchange ? ExchangeFolderOf(path) : path));
    return path;
}

QString TreeFixture::MakeFolder(const QString& workshop, const QString& vehicle, const QString& day)
{
    QString path = ExchangeFolderOf(workshop) + u'/' + vehicle;
    if (!day.isEmpty())
        path += u'/' + day;
    EXPECT_TRUE(QDir().mkpath(path));
    return path;
}

void TreeFixture::MakeFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

void TreeFixture::WriteCalibration(const QString& workshop, const QString& vehicle,
                                   const QString& day, int seed, bool withParam, bool withGsm)
{
    const QString dayFolder = MakeFolder(workshop, vehicle, day);
    if (withParam) {
        ASSERT_TRUE(WriteRecordFile(dayFolder + QStringLiteral("/PARAM_UP.BIN"),
                                    Pattern<RecordSize::Param>(seed)));
    }
    if (withGsm) {
        ASSERT_TRUE(WriteRecordFile(dayFolder + QStringLiteral("/GSM_UP.BIN"),
                                    Pattern<RecordSize::Gsm>(seed + 1)));
    }
    ASSERT_TRUE(
        WriteRecordFile(ExchangeFolderOf(workshop) + u'/' + vehicle + QStringLiteral("/CINFO.BIN"),
                        Pattern<RecordSize::Owner>(seed + 2)));
}

void TreeFixture::Register(const QString& workshop, const QString& recordName)
{
    WorkshopEntry entry;
    entry.folderPath = workshop;
    entry.record.setField(WorkshopRecord::Field::Name, recordName);
    m_reg.entries().push_back(std::move(entry));
}

TreeNode TreeFixture::FindNode(int level, const QString& text, TreeNode under) const
{
    const int count = under ? under->childCount() : m_tree.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        TreeNode node = under ? under->child(i) : m_tree.topLevelItem(i);
        if (cTree::NodeLevel(node) == level && m_tree.GetNodeText(node) == text)
            return node;
        if (TreeNode found = FindNode(level, text, node))
            return found;
    }
    return nullptr;
}

QStringList TreeFixture::ChildTexts(TreeNode node)
{
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.append(node->child(i)->text(0));
    return texts;
}

QStringList TreeFixture::TopLevelTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i)
        texts.append(m_tree.GetNodeText(m_tree.topLevelItem(i)));
    return texts;
}
