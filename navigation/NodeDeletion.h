#pragma once

class QWidget;
class WorkshopRegister;
class cTree;

// Deletes what the tree's selected node stands for, after asking the user: a workshop is
// unregistered (its folder stays on disk); a vehicle or calibration day folder is deleted
// for good with everything in it, and its workshop's branch read again. The grid and the window
// title keep showing the last loaded calibration.
void DeleteSelectedNode(WorkshopRegister& reg, cTree& tree, QWidget* window);
