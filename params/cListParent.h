#pragma once

#include <QWidget>

class CurrentCalibration;
class cTDGrid;

// The right pane of the main window: hosts the parameter grid over its whole area. The
// grid is a child widget, so it lives and dies with the view.
class cListParent : public QWidget {
    Q_OBJECT

public:
    // The grid shows and edits `current`, which outlives the view.
    explicit cListParent(CurrentCalibration& current, QWidget* parent = nullptr);

    // Creates the grid over the view's area (once) and runs its set-up.
    void OnInitialUpdate();
    // Null until OnInitialUpdate has run.
    cTDGrid* grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CurrentCalibration& m_current;
    cTDGrid* m_grid = nullptr;
};
