#pragma once

#include <QWidget>

class cTDGrid;

// The right pane of the main window: hosts the parameter grid over its whole area. The
// grid is a child widget, so it lives and dies with the view.
class cListParent : public QWidget {
    Q_OBJECT

public:
    explicit cListParent(QWidget* parent = nullptr);

    // Creates the grid over the view's area (once) and runs its set-up.
    void OnInitialUpdate();
    // Null until OnInitialUpdate has run.
    cTDGrid* grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    cTDGrid* m_grid = nullptr;
};
