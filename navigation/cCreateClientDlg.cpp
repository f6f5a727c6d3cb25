#include "navigation/cCreateClientDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/CDirDialog.h"
#include "platform/Prompts.h"
#include "store/FolderOps.h"
#include "store/MadeFolders.h"
#include "store/WorkshopRegister.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

cCreateClientDlg::cCreateClientDlg(QWidget* parent) : QDialog(parent)
{
    DialogTemplate::install(this, DialogId::CreateWorkshop);
    m_name = DialogTemplate::control<QLineEdit>(this, 1004);
    m_locationView = DialogTemplate::control<QLineEdit>(this, 1009);
    if (m_locationView)
        m_locationView->setReadOnly(true); // the location is set by the chooser only
    if (auto* browse = DialogTemplate::control<QPushButton>(this, 1005))
        connect(browse, &QPushButton::clicked, this, &cCreateClientDlg::OnBrowse);
}

void cCreateClientDlg::OnBrowse()
{
    CDirDialog chooser;
    if (chooser.DoBrowse(this) != 1)
        return;
    m_location = chooser.ChosenPath();
    if (m_locationView)
        m_locationView->setText(m_location);
}

void cCreateClientDlg::accept()
{
    if (m_location.isEmpty()) {
        Prompts::warn(this, Lang(StringId::LocationMissing));
        return;
    }
    const QString name = m_name ? m_name->text() : QString();
    // An empty name registers the location itself.
    const QString path = name.isEmpty() ? m_location : QDir(m_location).filePath(name);
    if (path.size() > kMaxPathChars) {
        Prompts::warn(this, Lang(StringId::PathTooLong).arg(path));
        return;
    }
    // The name is one new folder level: a slash or "." / ".." would land somewhere else, and
    // a control character could not be kept in the register file.
    if (name.contains(u'/') || name == u"." || name == u".." ||
        !WorkshopRegister::canHoldPath(path)) {
        Prompts::warn(this, Lang(StringId::FolderCreateFailed).arg(path));
        return;
    }
    // A workshop folder made here goes again when its exchange folder cannot be made, so a
    // failed create leaves no empty folder behind; one that stays is named.
    QStringList made;
    for (const QString& folder : {path, ExchangeFolderOf(path)}) {
        bool madeNow = false;
        const bool there = EnsureFolder(folder, &madeNow);
        if (madeNow)
            made.prepend(folder);
        if (!there) {
            Prompts::warn(this,
                          Lang(StringId::FolderCreateFailed).arg(folder) + RemoveMadeFolders(made));
            return;
        }
    }
    m_workshopPath = path;
    m_madeFolders = made;
    QDialog::accept();
}
