#pragma once

#include "reports/ReportPreparation.h"

#include <optional>

class QWidget;
class cTDGrid;
class cTree;

// The vehicle and calibration day a report is for, from the tree's selection: a vehicle node
// gives its name and its latest day (the one its selection shows), a day node its parent's
// name and its own; a workshop node or no
// selection gives "unknown" for the record and nothing for the ticket.
ReportSubject ReportSubjectOf(ReportKind kind, const cTree& tree);

// The first steps of both report commands: the grid's values are stored into the records,
// and the calibration on screen written, with the selection's vehicle and day, as the
// vehicle's XML calibration record naming the kind's stylesheet. Nothing when there is no
// vehicle for the ticket; nothing, after telling the user, when the stylesheet is missing or
// the file cannot be written.
std::optional<PreparedReport> PrepareReport(ReportKind kind, const cTree& tree, cTDGrid& grid,
                                            QWidget* window);
