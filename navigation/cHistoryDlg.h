#pragma once

#include "navigation/CalibrationHistory.h"

#include <QDialog>
#include <QStringList>

#include <thread>
#include <vector>

class cTree;
class QLabel;
class QTableWidget;
class QTreeWidgetItem;

// A vehicle's calibration history: one row per calibration day, newest first, with the
// values each was calibrated with; a value that differs from the calibration before it is
// marked. The days are read on a worker while the window is already shown. Double-click or
// Enter on a row selects that day in the tree, as a click there would.
class cHistoryDlg : public QDialog {
    Q_OBJECT
public:
    // `vehicleNode` is the vehicle's node in `tree`.
    cHistoryDlg(cTree& tree, QTreeWidgetItem* vehicleNode, QWidget* parent = nullptr);
    ~cHistoryDlg() override;

    QTableWidget* table() const { return m_table; }
    // Whether the days have been read and shown.
    bool isFilled() const { return m_filled; }

private:
    // Reads the vehicle's days on a worker; Fill() shows them when they are there.
    void Read();
    void Fill(const std::vector<CalibrationHistory::Entry>& entries);
    void SelectDay(int row);

    cTree& m_tree;
    // The vehicle's place in the tree, which outlives its node across re-reads.
    QStringList m_vehicleAddress;
    QString m_workshopFolder;
    QString m_vehicleFolder;
    QTableWidget* m_table = nullptr;
    QLabel* m_status = nullptr;
    QStringList m_days; // by row
    bool m_filled = false;
    // Last, so the read stops before the window's parts go.
    std::jthread m_reader;
};
