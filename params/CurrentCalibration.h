#pragma once

#include "params/Calibration.h"

#include <QObject>

// The calibration on screen, owned by the application. The grid's rows read and write its
// records in place, the tree loads into it, and the save, the transfer and the reports take
// copies of it.
class CurrentCalibration : public QObject {
    Q_OBJECT
public:
    explicit CurrentCalibration(QObject* parent = nullptr);

    const Calibration& value() const { return m_value; }
    // For edits of single values in place (the grid's rows). The records keep their
    // address for the object's life.
    Calibration& edit() { return m_value; }
    ParamRecord& param() { return m_value.param; }
    GsmRecord& gsm() { return m_value.gsm; }
    OwnerRecord& owner() { return m_value.owner; }
    const CalibrationPlace& place() const { return m_value.place; }

    // Another calibration is shown: a load from disk.
    void replace(const Calibration& calibration);
    // No calibration is shown: the three records are zeroed and the place forgotten; the
    // workshop's details are kept.
    void clear();

signals:
    // The whole calibration was replaced or cleared (not sent for edits of single values).
    void replaced();

private:
    Calibration m_value;
};
