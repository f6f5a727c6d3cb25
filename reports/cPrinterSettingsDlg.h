#pragma once

#include "reports/PrinterSettings.h"

#include <QDialog>

class QComboBox;

// Printer settings (dialog template 314): the printer of the calibration record (1007) and
// of the vehicle ticket (1008), each list holding every printer. OK writes printer.txt; a
// failed write is reported and the dialog stays open.
class cPrinterSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit cPrinterSettingsDlg(QWidget* parent = nullptr);

    // The choice as OK stored it.
    PrinterSettings settings() const { return m_settings; }

    void accept() override;

private:
    void OnInitDialog();

    QComboBox* m_recordList = nullptr;
    QComboBox* m_ticketList = nullptr;
    PrinterSettings m_settings;
};
