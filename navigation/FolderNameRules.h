#pragma once

#include "params/RegistrationNumber.h"

#include <QString>

class QWidget;

// Tells the user why `number` was refused (messages 104, 205, 204 or 232 of the pack).
void WarnRegistrationNumber(RegistrationNumberFault fault, const QString& number, QWidget* parent);
