#include "lang/LanguagePack.h"
#include "lang/PackResources.h"
#include "lang/StringIds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kPackDir = QStringLiteral(VELMORA_PACK_DIR);

// Whether anything is registered under the packs' resource root.
bool anyPackRegistered()
{
    return QFile::exists(QStringLiteral(":/lang/strings.json"));
}

class PackSwitch : public ::testing::Test {
protected:
    void TearDown() override
    {
        LanguagePack::setSearchPaths({kPackDir});
        pack().load(QStringLiteral("Velmora_ru"));
    }
    static LanguagePack& pack() { return LanguagePack::current(); }
};

TEST_F(PackSwitch, loadingTheSamePackTwiceRegistersItOnce)
{
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_en")));
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_en")));
    EXPECT_EQ(pack().loadedName(), QStringLiteral("Velmora_en"));
    EXPECT_EQ(Lang(StringId::DeleteQuestion), QStringLiteral("Delete"));
    pack().unload();
    EXPECT_FALSE(anyPackRegistered());
    EXPECT_TRUE(Lang(StringId::DeleteQuestion).isEmpty());
}

TEST_F(PackSwitch, switchingReplacesThePreviousPack)
{
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_ru")));
    EXPECT_EQ(Lang(StringId::DeleteQuestion), QStringLiteral("Удалить"));
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_en")));
    EXPECT_EQ(Lang(StringId::DeleteQuestion), QStringLiteral("Delete"));
    pack().unload();
    EXPECT_FALSE(anyPackRegistered()) << "the Russian pack was left registered";
}

TEST_F(PackSwitch, missingPackFailsAndLeavesNothingLoaded)
{
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_ru")));
    EXPECT_FALSE(pack().load(QStringLiteral("Velmora_xx")));
    EXPECT_FALSE(pack().isLoaded());
    EXPECT_TRUE(pack().loadedName().isEmpty());
    EXPECT_FALSE(anyPackRegistered());
    EXPECT_TRUE(Lang(StringId::Ready).isEmpty());
    EXPECT_TRUE(PackResources::menu(128).isEmpty());
    EXPECT_TRUE(PackResources::mainIcon().isNull());
    EXPECT_EQ(PackResources::loadDialog(100, nullptr), nullptr);
}

TEST_F(PackSwitch, firstSearchFolderWins)
{
    QTemporaryDir first;
    // A Russian pack under the English name: finding it proves the order of the search.
    ASSERT_TRUE(QFile::copy(QDir(kPackDir).filePath(QStringLiteral("Velmora_ru.rcc")),
                            QDir(first.path()).filePath(QStringLiteral("Velmora_en.rcc"))));
    LanguagePack::setSearchPaths({first.path(), kPackDir});
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_en")));
    EXPECT_EQ(Lang(StringId::DeleteQuestion), QStringLiteral("Удалить"));
}

TEST_F(PackSwitch, strayFileOfThePacksNameIsSkipped)
{
    QTemporaryDir first;
    QFile stray(QDir(first.path()).filePath(QStringLiteral("Velmora_en.rcc")));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.write("not a resource file");
    stray.close();
    LanguagePack::setSearchPaths({first.path(), kPackDir});
    ASSERT_TRUE(pack().load(QStringLiteral("Velmora_en")));
    EXPECT_EQ(Lang(StringId::DeleteQuestion), QStringLiteral("Delete"));
}

TEST_F(PackSwitch, defaultSearchStartsBesideTheExecutable)
{
    LanguagePack::setSearchPaths({});
    const QStringList paths = LanguagePack::searchPaths();
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths.first(), QCoreApplication::applicationDirPath());
    EXPECT_TRUE(paths.last().endsWith(QStringLiteral("/share/velmora")));
}

} // namespace
