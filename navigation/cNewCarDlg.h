#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QString;
class WorkshopRegister;
class cTree;

// The new-vehicle dialog (template 324): the user picks a workshop (at first the one of the
// tree's selection) and types a registration number. OK selects the vehicle of that number
// when any workshop has one; otherwise it makes the vehicle's folder with a first, empty
// calibration dated today and shows it in the tree without selecting it.
class cNewCarDlg : public QDialog {
    Q_OBJECT
public:
    cNewCarDlg(WorkshopRegister& reg, cTree& tree, QWidget* parent = nullptr);

    // OK. With no workshop to choose it does nothing; a refused number or a folder that
    // cannot be made is reported and keeps the dialog open.
    void accept() override;

private:
    // Makes the vehicle folder, today's calibration folder and its two record files, then
    // reads the workshop's branch again. False when the vehicle folder could not be made.
    bool CreateVehicle(const QString& workshopFolder, const QString& number);

    WorkshopRegister& m_reg;
    cTree& m_tree;
    QComboBox* m_workshops = nullptr;
    QLineEdit* m_number = nullptr;
};
