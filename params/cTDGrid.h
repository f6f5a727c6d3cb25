#pragma once

#include "gridctrl/CGridCtrl.h"
#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamDescriptor.h"
#include "params/ParamRecord.h"

#include <QStringList>

class CurrentCalibration;

// The parameter grid: one row per row of the parameter descriptor table, the label in the
// fixed column 0 and the value in column 1. Values move between the cells and the records of
// the current calibration only through the rows' handlers: a refresh shows every row, and every
// accepted edit (typed, pasted, cut or deleted) is stored into its record field at once.
class cTDGrid : public CGridCtrl {
    Q_OBJECT

public:
    // The label column is as wide as the widest label in the loaded language, at least
    // this and at most half the grid.
    static constexpr int LabelColumnWidth = 250;

    // Shows and edits `current`, which outlives the grid; a calibration that replaces the
    // current one is shown at once.
    explicit cTDGrid(CurrentCalibration& current, QWidget* parent = nullptr);

    CurrentCalibration& current() const { return m_current; }

    // Builds the rows from the table in the loaded language, zeroes the current records and
    // lets each row set up its cell. Run at start and after a change of language.
    void SetupRows();
    // After a change of language: the rows and lists take the new language and show the same
    // records again, so nothing typed is lost. An open edit is stored first.
    void Retranslate();
    // Shows the current records in the value cells.
    void Refresh();
    // Stores every row that has a handler, so the drop-down rows reach the records before a
    // save or a print.
    void RunStorePass();
    bool IsInitialised() const { return m_initialised; }

    // Whether edits have made the records differ from what was last loaded, saved or set up.
    bool HasUnsavedChanges() const { return m_unsaved; }
    // The records as they are now are what is stored (after a load or a save).
    void MarkStored();
    // Puts back the records as they were last loaded, saved or set up, and shows them.
    void DiscardChanges();
    // Whether the text of a cell editor that is still open would be accepted. When it would
    // not, the refusal is shown and the editor stays open with the text, so a command that
    // takes the grid's values can stop before it uses the previous ones.
    bool AcceptsOpenEdit();

    // The editing hooks: each accepted edit is validated by its row's handler and stored at
    // once; a refused one leaves the previous text, which is stored back unchanged.
    void BeginCellEdit(int row, int col, QPoint point, int key) override;
    void EndCellEdit(int row, int col, const QString& text) override;
    bool ValidateCellEdit(int row, int col, const QString& text) override;

signals:
    // The set-up has finished; the application keeps this grid as the parameter grid.
    void setupFinished();
    // An edit was refused; the text says why, in the loaded language.
    void editRefused(const QString& reason);
    void unsavedChangesChanged(bool unsaved);

protected:
    void OnSize() override;
    void OnKeyUp(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    // Shows the hint of a value cell that looks unusual as its tooltip.
    bool viewportEvent(QEvent* event) override;

private:
    // The descriptor row attached to a value cell; null for a label cell.
    const ParamDescriptor* DescriptorAt(int row, int col) const;
    // Column 0 fits the widest label; column 1 takes the width left of the viewport once
    // column 0 is placed, when that is more than 2 pixels.
    void FitColumns();
    int WidestLabel() const;
    void UpdateUnsaved();
    // Marks the value cells whose values look unusual and keeps their hints for the tooltip.
    void UpdateHints();

    CurrentCalibration& m_current;
    bool m_initialised = false;
    bool m_unsaved = false;
    // The records as last loaded, saved or set up.
    ParamRecord m_storedParam;
    GsmRecord m_storedGsm;
    OwnerRecord m_storedOwner;
    // The hint of each row's value, empty where it looks usual.
    QStringList m_hints;
};
