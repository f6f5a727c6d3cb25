#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/PackResources.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

QList<int> nationLabelIds()
{
    QList<int> ids{101, 102, 103, 105, 106};
    for (int id = StringId::NationFirstHigh; id <= StringId::NationLastHigh; ++id)
        ids.append(id);
    return ids;
}

QList<int> requiredStringIds()
{
    QList<int> ids{100, 104, 182, 183, 184, 179, 180, 181, 59137, 59138, 59139};
    // The grid's 23 row labels.
    ids += {185, 186, 187, 188, 126, 107, 108, 109, 110, 111, 112, 113,
            114, 115, 116, 124, 117, 118, 119, 120, 121, 122, 127};
    ids += nationLabelIds();
    for (int id = StringId::PackLoadFailed; id <= StringId::ButtonNo; ++id)
        ids.append(id);
    for (int id = StringId::ButtonSave; id <= StringId::PdfReplaceQuestion; ++id)
        ids.append(id);
    for (int id = StringId::FindPlaceholder; id <= StringId::HistoryColumnSpeed; ++id)
        ids.append(id);
    for (int id = StringId::HintConstantW; id <= StringId::SavedWithUnusualValues; ++id)
        ids.append(id);
    for (int id = StringId::DueTitle; id <= StringId::DueOverdue; ++id)
        ids.append(id);
    return ids;
}

void collect(const QList<MenuItemTemplate>& items, QList<MenuItemTemplate>& out)
{
    for (const MenuItemTemplate& item : items) {
        if (item.commandId != 0)
            out.append(item);
        collect(item.children, out);
    }
}

QList<MenuItemTemplate> commandsOf(const QList<MenuItemTemplate>& items)
{
    QList<MenuItemTemplate> out;
    collect(items, out);
    return out;
}

QSet<int> idsOf(const QList<MenuItemTemplate>& commands)
{
    QSet<int> ids;
    for (const MenuItemTemplate& item : commands)
        ids.insert(item.commandId);
    return ids;
}

class PackContents : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(pack().load(QString::fromLatin1(GetParam()))); }
    void TearDown() override { pack().load(QStringLiteral("Velmora_ru")); }
    static LanguagePack& pack() { return LanguagePack::current(); }
};

TEST_P(PackContents, definesEveryStringTheProgramAsksFor)
{
    for (int id : requiredStringIds())
        EXPECT_FALSE(Lang(id).trimmed().isEmpty()) << "string " << id;
    EXPECT_EQ(Lang(StringId::MainTitle), QStringLiteral("Velmora"));
}

TEST_P(PackContents, nationLabelsAreFiftyFiveDistinctNames)
{
    QSet<QString> names;
    for (int id : nationLabelIds())
        names.insert(Lang(id));
    EXPECT_EQ(nationLabelIds().size(), StringId::NationCount);
    EXPECT_EQ(names.size(), StringId::NationCount);
}

TEST_P(PackContents, placeholdersSurviveTranslation)
{
    for (int id : {200, 201, 203, 204, 207, 208, 210, 211, 212, 213, 215, 216})
        EXPECT_TRUE(Lang(id).contains(QStringLiteral("%1"))) << "string " << id;
}

TEST_P(PackContents, mainMenuOffersEveryCommandWithItsKeys)
{
    const QList<MenuItemTemplate> commands = commandsOf(PackResources::menu(ResourceId::MainMenu));
    const QSet<int> expected{32771, 32772, 32773, 32774, 32778, 32779, 32781, 32782, 32783, 32784,
                             32785, 32797, 32798, 32800, 32810, 32811, 32812, 57664, 57665};
    EXPECT_EQ(idsOf(commands), expected);
    EXPECT_EQ(commands.size(), expected.size()) << "a command appears twice";

    const QHash<int, QKeySequence> keys{
        {CommandId::SaveCalibration, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {CommandId::DeleteNode, QKeySequence(Qt::Key_Delete)},
        {CommandId::OpenHelp, QKeySequence(Qt::Key_F1)},
        {CommandId::AppExit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {CommandId::Find, QKeySequence(Qt::CTRL | Qt::Key_F)}};
    QSet<QString> shortcuts;
    for (const MenuItemTemplate& item : commands) {
        EXPECT_FALSE(item.text.isEmpty());
        const QKeySequence key(item.shortcut, QKeySequence::PortableText);
        EXPECT_EQ(key.toString(QKeySequence::PortableText), item.shortcut)
            << item.shortcut.toStdString();
        if (keys.contains(item.commandId)) {
            EXPECT_EQ(key, keys.value(item.commandId)) << item.commandId;
        }
        if (!item.shortcut.isEmpty()) {
            EXPECT_FALSE(shortcuts.contains(item.shortcut))
                << "ambiguous " << item.shortcut.toStdString();
            shortcuts.insert(item.shortcut);
        }
    }
}

TEST_P(PackContents, contextMenuIsOnePopupOfTreeCommands)
{
    const QList<MenuItemTemplate> menu = PackResources::menu(ResourceId::TreeContextMenu);
    ASSERT_EQ(menu.size(), 1);
    EXPECT_FALSE(menu.first().children.isEmpty());
    EXPECT_EQ(idsOf(commandsOf(menu)),
              (QSet<int>{32774, 32782, 32783, 32784, 32778, 32779, 32798, 32800, 32811}));
}

TEST_P(PackContents, reportWindowMenuAndToolbarCarryItsCommands)
{
    const QSet<int> expected{CommandId::ReportPrint, CommandId::ReportPreview,
                             CommandId::ReportSavePdf, CommandId::ReportClose};
    EXPECT_EQ(idsOf(commandsOf(PackResources::menu(ResourceId::ReportMenu))), expected);
    EXPECT_EQ(idsOf(commandsOf(PackResources::toolbar(ResourceId::ReportToolBar))), expected);
}

TEST_P(PackContents, toolbarButtonsHaveRealIcons)
{
    const QList<MenuItemTemplate> buttons =
        commandsOf(PackResources::toolbar(ResourceId::MainToolBar));
    EXPECT_EQ(idsOf(buttons),
              (QSet<int>{32797, 32798, 32774, 32782, 32783, 32784, 32778, 32779, 32812, 32781}));
    QSet<QString> distinct;
    for (const MenuItemTemplate& item :
         buttons + commandsOf(PackResources::toolbar(ResourceId::ReportToolBar))) {
        const QPixmap pixmap(item.icon);
        EXPECT_EQ(pixmap.size(), QSize(24, 24)) << item.icon.toStdString();
        EXPECT_FALSE(item.text.isEmpty());
        distinct.insert(item.icon);
    }
    EXPECT_EQ(distinct.size(), buttons.size() + 3) << "the report's print button shares its icon";
    EXPECT_FALSE(PackResources::mainIcon().pixmap(48).isNull());
}

struct DialogCheck {
    int id;
    std::function<void(QDialog*)> check;
};

TEST_P(PackContents, everyDialogTemplateHoldsItsControls)
{
    const QList<DialogCheck> checks{
        {DialogId::About,
         [](QDialog* d) { EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("version"))); }},
        {DialogId::WorkshopList,
         [](QDialog* d) {
             EXPECT_TRUE(DialogTemplate::control<QListWidget>(d, 1000));
             for (int id : {1001, 1002, 1003, 1014})
                 EXPECT_TRUE(DialogTemplate::control<QPushButton>(d, id)) << id;
         }},
        {DialogId::CreateWorkshop,
         [](QDialog* d) {
             EXPECT_TRUE(DialogTemplate::control<QLineEdit>(d, 1004));
             QLineEdit* location = DialogTemplate::control<QLineEdit>(d, 1009);
             ASSERT_TRUE(location);
             EXPECT_TRUE(location->isReadOnly());
             EXPECT_TRUE(DialogTemplate::control<QPushButton>(d, 1005));
         }},
        {DialogId::Transfer,
         [](QDialog* d) { EXPECT_TRUE(DialogTemplate::control<QComboBox>(d, 1006)); }},
        {DialogId::PrinterSettings,
         [](QDialog* d) {
             EXPECT_TRUE(DialogTemplate::control<QComboBox>(d, 1007));
             EXPECT_TRUE(DialogTemplate::control<QComboBox>(d, 1008));
         }},
        {DialogId::WorkshopDetails,
         [](QDialog* d) {
             const std::pair<int, int> limits[] = {
                 {1010, 259}, {1011, 259}, {1012, 31}, {1013, 31}};
             for (const auto& [id, length] : limits) {
                 QLineEdit* edit = DialogTemplate::control<QLineEdit>(d, id);
                 ASSERT_TRUE(edit) << id;
                 EXPECT_EQ(edit->maxLength(), length) << id;
             }
         }},
        {DialogId::NewVehicle,
         [](QDialog* d) {
             EXPECT_TRUE(DialogTemplate::control<QComboBox>(d, 1015));
             EXPECT_TRUE(DialogTemplate::control<QLineEdit>(d, 1016));
         }},
    };
    for (const DialogCheck& check : checks) {
        SCOPED_TRACE(check.id);
        QDialog dialog;
        ASSERT_TRUE(DialogTemplate::install(&dialog, check.id));
        EXPECT_FALSE(dialog.windowTitle().isEmpty());
        EXPECT_TRUE(dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")));
        // Every label with a mnemonic leads somewhere.
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().contains(QLatin1Char('&'))) {
                EXPECT_TRUE(label->buddy()) << label->objectName().toStdString();
            }
        }
        check.check(&dialog);
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, PackContents,
                         ::testing::Values("Velmora_ru", "Velmora_en"));

TEST(PackLanguages, bothPacksDefineTheSameIdsInTheirOwnLanguage)
{
    LanguagePack& pack = LanguagePack::current();
    ASSERT_TRUE(pack.load(QStringLiteral("Velmora_en")));
    const QList<int> englishIds = pack.stringIds();
    const QString englishNation = Lang(StringId::Nation);
    const QString faroe = Lang(StringId::NationFirstHigh + 14); // code 20
    ASSERT_TRUE(pack.load(QStringLiteral("Velmora_ru")));
    EXPECT_EQ(pack.stringIds(), englishIds);
    EXPECT_NE(Lang(StringId::Nation), englishNation);
    EXPECT_EQ(faroe, QStringLiteral("Faroe Islands"));
    EXPECT_EQ(Lang(StringId::NationFirstHigh + 14), QStringLiteral("Фарерские острова"));
}

} // namespace
