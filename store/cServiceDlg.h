#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// The workshop details dialog (template 316): name, address, phone and index. A caller
// presets the four values before running it; when shown they go into the edit controls,
// OK reads them back, Cancel leaves them as they were. Each edit takes at most as many
// characters as the workshop record's field holds, so nothing is cut on saving.
class cServiceDlg : public QDialog {
    Q_OBJECT

public:
    explicit cServiceDlg(QWidget* parent = nullptr);

    QString name;
    QString address;
    QString phone;
    QString index;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void putValues();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_index = nullptr;
};
