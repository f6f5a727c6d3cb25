#pragma once

class QWidget;
class WorkshopRegister;
class cTDGrid;
class cTree;

// Saves the calibration on screen as today's calibration of the vehicle that the record's
// registration number names, in the workshop of the tree's selection:
//   <workshop>/RX902/<number>/<yyyyMMdd>/PARAM_UP.BIN and GSM_UP.BIN,
//   <workshop>/RX902/<number>/CINFO.BIN.
// The grid's values are stored into the records first, even if the save is then refused.
// Afterwards the workshop's branch of the tree is read again and today's calibration of that
// vehicle in that workshop is selected, which loads what was written.
//
// Refused with a message: a missing or too long number, a number that is no plain folder
// name, nothing selected. A folder or file that cannot be made is reported by its path and
// ends the save there, leaving the tree and its selection as they were so the user can
// retry. True when all three files were written.
bool SaveCalibration(WorkshopRegister& reg, cTree& tree, cTDGrid& grid, QWidget* window);
