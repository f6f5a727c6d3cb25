#include "app/CAboutDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"

#include <QCoreApplication>
#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    DialogTemplate::install(this, DialogId::About);
    if (auto* version = findChild<QLabel*>(QStringLiteral("version")))
        version->setText(Lang(StringId::VersionLabel).arg(QCoreApplication::applicationVersion()));
}
