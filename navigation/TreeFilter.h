#pragma once

#include "navigation/FindText.h"
#include "store/WorkshopRegister.h"

#include <QString>
#include <QStringList>

#include <vector>

class cTree;
class VehicleIndex;

// Narrows the tree to the vehicles a typed text finds, in every workshop, each with its
// days; workshops without one are hidden, and a closed workshop that has one is opened. An
// empty text shows the whole tree again, closes what the filter opened, and brings the
// selected node into view. Matching a text reads no file: the keys come from the index, and
// a vehicle it has not read yet is found by its number alone.
class TreeFilter {
public:
    TreeFilter(cTree& tree, const VehicleIndex& index);

    void setText(const QString& text);
    bool isActive() const { return m_active; }
    // The first vehicle shown, in tree order; null when none is.
    TreeNode firstMatch() const;
    // The tree's nodes changed: the rows are gathered again and the text applied to them.
    void invalidate();
    // The index read vehicles again: the rows take their keys afresh, the text is applied.
    void keysChanged();

private:
    struct Row {
        TreeNode node;
        FindKeys keys;
        bool hidden;
    };
    struct Workshop {
        TreeNode node;
        QString folder;
        std::size_t firstRow, endRow;
        bool hidden;
    };

    void gather();
    FindKeys keysOf(const QString& workshopFolder, TreeNode vehicle) const;
    void apply(const FindText& text);
    void restore();

    cTree& m_tree;
    const VehicleIndex& m_index;
    QString m_text;
    bool m_active = false;
    bool m_gathered = false;
    std::vector<Row> m_rows;
    std::vector<Workshop> m_workshops;
    // Workshops the filter opened, by their place in the tree, to be closed again.
    std::vector<QStringList> m_opened;
};
