#include "navigation/TreeFindField.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "navigation/VehicleIndex.h"
#include "navigation/cTree.h"

#include <QKeyEvent>

TreeFindField::TreeFindField(cTree& tree, VehicleIndex& index, QWidget* parent)
    : QLineEdit(parent), m_tree(tree), m_filter(tree, index)
{
    setObjectName(QStringLiteral("treeFindField"));
    setClearButtonEnabled(true);
    retranslate();
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_filter.setText(text); });
    connect(&index, &VehicleIndex::updated, this, [this] { m_filter.keysChanged(); });
}

void TreeFindField::activate()
{
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

void TreeFindField::retranslate()
{
    setPlaceholderText(Lang(StringId::FindPlaceholder));
    setToolTip(Lang(StringId::FindToolTip));
}

void TreeFindField::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Selecting goes through the tree's own guard, which asks about unsaved values.
        if (const TreeNode first = m_filter.firstMatch()) {
            m_tree.setCurrentItem(first);
            m_tree.scrollToItem(first);
        }
        return;
    case Qt::Key_Down:
        if (const TreeNode first = m_filter.firstMatch())
            m_tree.setCurrentItem(first);
        m_tree.setFocus(Qt::TabFocusReason);
        return;
    case Qt::Key_Escape:
        clear();
        m_tree.setFocus(Qt::OtherFocusReason);
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
