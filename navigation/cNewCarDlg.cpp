#include "navigation/cNewCarDlg.h"

#include "lang/DialogTemplate.h"
#include "lang/LanguagePack.h"
#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "navigation/FolderNameRules.h"
#include "navigation/NumberMatch.h"
#include "navigation/ReportedFileOps.h"
#include "navigation/cTree.h"
#include "params/FieldText.h"
#include "params/GsmRecord.h"
#include "params/ParamRecord.h"
#include "platform/Prompts.h"
#include "store/AtomicFileGroup.h"
#include "store/AtomicFileWriter.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>

namespace {

// The vehicle that `number` names: the one of exactly that name first, else the first whose
// number differs only in case, blanks, dashes or Cyrillic/Latin look-alike letters.
VehicleEntry* FindSameVehicle(WorkshopRegister& reg, const QString& number)
{
    if (VehicleEntry* exact = reg.findVehicleByName(number))
        return exact;
    const QString key = NormalizedNumber(number);
    for (WorkshopEntry& workshop : reg.entries()) {
        for (VehicleEntry& vehicle : workshop.vehicles) {
            if (NormalizedNumber(vehicle.name) == key)
                return &vehicle;
        }
    }
    return nullptr;
}

} // namespace

cNewCarDlg::cNewCarDlg(WorkshopRegister& reg, cTree& tree, QWidget* parent)
    : QDialog(parent), m_reg(reg), m_tree(tree)
{
    DialogTemplate::install(this, DialogId::NewVehicle);
    m_workshops = DialogTemplate::control<QComboBox>(this, 1015);
    m_number = DialogTemplate::control<QLineEdit>(this, 1016);
    if (!m_workshops)
        return;
    const auto& entries = m_reg.entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        m_workshops->addItem(entries[i].folderPath, i);
    // The workshop of the selection, the first one when nothing is selected.
    const WorkshopEntry* selected =
        FindWorkshopByItem(m_reg, cTree::WorkshopNodeOf(m_tree.SelectedNode()));
    const int row =
        selected ? m_workshops->findData(static_cast<int>(selected - entries.data())) : -1;
    if (m_workshops->count() > 0)
        m_workshops->setCurrentIndex(std::max(row, 0));
    // Wide enough for the whole folder path, so the user sees which workshop is chosen; the
    // dialog grows with it, within the screen.
    m_workshops->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    int wanted = m_workshops->sizeHint().width();
    if (const QScreen* shown = screen())
        wanted = std::min(wanted, shown->availableSize().width() * 2 / 3);
    m_workshops->setMinimumWidth(std::max(wanted, m_workshops->minimumWidth()));
    // The workshop is already chosen; what the user has to type is the number.
    if (m_number)
        m_number->setFocus();
}

void cNewCarDlg::accept()
{
    if (!m_workshops || m_workshops->currentIndex() < 0)
        return;
    bool ok = false;
    const int index = m_workshops->currentData().toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(m_reg.entries().size()))
        return;
    const QString workshopFolder = m_reg.entries()[index].folderPath;
    const QString number = m_number ? m_number->text() : QString();

    const RegistrationNumberFault fault = CheckRegistrationNumber(number);
    if (fault == RegistrationNumberFault::Missing) {
        // The save's own message speaks of saving; here the user is creating a vehicle.
        Prompts::warn(this, Lang(StringId::EnterRegistrationNumber));
        return;
    }
    if (fault != RegistrationNumberFault::None) {
        WarnRegistrationNumber(fault, number, this);
        return;
    }

    // Numbers identify vehicles across the whole register: an existing one is selected,
    // whichever workshop holds it, also when typed in the other script or case.
    if (VehicleEntry* existing = FindSameVehicle(m_reg, number)) {
        if (existing->node)
            m_tree.SelectNode(existing->node);
        QDialog::accept();
        return;
    }
    if (!CreateVehicle(workshopFolder, number))
        return;
    QDialog::accept();
}

bool cNewCarDlg::CreateVehicle(const QString& workshopFolder, const QString& number)
{
    const QString vehicleFolder = ExchangeFolderOf(workshopFolder) + u'/' + number;
    if (!CreateFolder(vehicleFolder)) {
        if (!QFileInfo(vehicleFolder).isDir()) {
            Prompts::warn(this, Lang(StringId::FolderCreateFailed).arg(vehicleFolder));
            return false;
        }
        // The folder was made outside the program since the tree was last built: show it and
        // select it like any vehicle that exists already.
        m_tree.RefreshVehicle(workshopFolder, number);
        if (VehicleEntry* found = m_reg.findVehicleByName(number); found && found->node)
            m_tree.SelectNode(found->node);
        return true;
    }

    const QString dayFolder = vehicleFolder + u'/' + TodayStamp();
    if (CreateFolderOrWarn(dayFolder, this)) {
        ParamRecord param;
        // The number passed the rules above, so some code page holds it.
        EncodeRegistrationNumber(number, param.bytes.data() + ParamRecord::Layout::RegNumberOffset,
                                 ParamRecord::Layout::RegNumberWidth,
                                 param.bytes[ParamRecord::Layout::CodePageOffset]);
        const GsmRecord gsm;
        // The first two records go together: a vehicle never starts with one of them alone.
        AtomicFileGroup files;
        files.add(dayFolder + u'/' + kParamFileName, RecordFileContent(param.bytes));
        files.add(dayFolder + u'/' + kGsmFileName, RecordFileContent(gsm.bytes));
        const AtomicFileGroup::Outcome outcome = files.commit();
        if (!outcome.ok) {
            // Nothing was there before, so what was renamed goes again, and the day with it;
            // a day that stays (with a record that could not be removed) is named.
            QString message = Lang(StringId::FileWriteFailed).arg(files.path(outcome.failedIndex));
            for (qsizetype i = 0; i < outcome.renamed; ++i)
                AtomicFileWriter::remove(files.path(i));
            if (!AtomicFileWriter::remove(dayFolder))
                message += u'\n' + Lang(StringId::FolderDeleteFailed).arg(dayFolder);
            Prompts::warn(this, message);
        }
    }
    // The vehicle folder exists now, so the tree shows it whatever else failed.
    m_tree.RefreshVehicle(workshopFolder, number);
    return true;
}
