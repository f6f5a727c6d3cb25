#pragma once

class QWidget;
class WorkshopRegister;
class cTree;

// Deletes what the tree's selected node stands for, after asking the user: a workshop is
// unregistered (its folder stays on disk); a vehicle or calibration day folder is moved to the
// desktop's trash with everything in it (deleted for good where its file system has no trash,
// which the question says), and its workshop's branch read again. The grid and the window
// title keep showing the last loaded calibration.
void DeleteSelectedNode(WorkshopRegister& reg, cTree& tree, QWidget* window);
