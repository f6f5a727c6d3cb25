#pragma once

#include "navigation/TreeFilter.h"

#include <QLineEdit>

class cTree;
class VehicleIndex;

// The find field above the tree. Every keystroke narrows the tree at once (see TreeFilter);
// Enter selects the first vehicle found, Down moves into the results, and Escape empties the
// field and gives the tree back as it was, with its selection.
class TreeFindField : public QLineEdit {
    Q_OBJECT
public:
    TreeFindField(cTree& tree, VehicleIndex& index, QWidget* parent = nullptr);

    // Ctrl+F: the field takes the keyboard with its text selected, to be typed over.
    void activate();
    // The hint shown while the field is empty, in the language in use.
    void retranslate();
    // The tree's nodes changed.
    void refilter() { m_filter.invalidate(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    cTree& m_tree;
    TreeFilter m_filter;
};
