#include "params/CurrentCalibration.h"

CurrentCalibration::CurrentCalibration(QObject* parent) : QObject(parent) {}

void CurrentCalibration::replace(const Calibration& calibration)
{
    m_value = calibration;
    emit replaced();
}

void CurrentCalibration::clear()
{
    m_value.param = {};
    m_value.gsm = {};
    m_value.owner = {};
    m_value.place = {};
    emit replaced();
}
