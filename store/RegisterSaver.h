#pragma once

class QWidget;
class WorkshopRegister;

// Saves the register to service.txt in the data folder. When the save fails the user is
// told that the change will not survive the program's end, and false is returned. Every
// change of the register is saved through here.
bool SaveRegisterOrWarn(const WorkshopRegister& reg, QWidget* parent);
