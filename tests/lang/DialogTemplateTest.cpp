#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"

#include <QDialogButtonBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// A dialog whose OK does its own work, as the program's dialogs do.
class CountingDialog : public QDialog {
public:
    int accepted = 0;
    void accept() override
    {
        ++accepted;
        QDialog::accept();
    }
};

TEST(DialogTemplateInstall, okAndCancelReachTheDialogsOwnHandlers)
{
    CountingDialog dialog;
    ASSERT_TRUE(DialogTemplate::install(&dialog, DialogId::NewVehicle));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_TRUE(buttons);
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.accepted, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    buttons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog.accepted, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(DialogTemplateInstall, captionAndButtonsComeFromThePack)
{
    QDialog dialog;
    QWidget* content = DialogTemplate::install(&dialog, DialogId::WorkshopDetails);
    ASSERT_TRUE(content);
    EXPECT_EQ(dialog.windowTitle(), content->windowTitle());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Сведения о мастерской"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_TRUE(buttons);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), Lang(StringId::ButtonCancel));
    ASSERT_TRUE(dialog.layout());
    EXPECT_EQ(dialog.layout()->contentsMargins(), QMargins());
}

TEST(DialogTemplateInstall, missingTemplateLeavesTheDialogEmpty)
{
    QDialog dialog;
    EXPECT_EQ(DialogTemplate::install(&dialog, 999), nullptr);
    EXPECT_EQ(dialog.layout(), nullptr);
    EXPECT_EQ(DialogTemplate::control<QLineEdit>(&dialog, 1010), nullptr);
}

TEST(DialogTemplateInstall, controlOfTheWrongTypeIsNotFound)
{
    QDialog dialog;
    ASSERT_TRUE(DialogTemplate::install(&dialog, DialogId::Transfer));
    EXPECT_EQ(DialogTemplate::control<QLineEdit>(&dialog, 1006), nullptr);
}

} // namespace
