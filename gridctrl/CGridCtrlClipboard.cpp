#include "gridctrl/CGridCtrl.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

// ---- clipboard -------------------------------------------------------------------------

QLineEdit* CGridCtrl::OpenLineEditor() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_editor.data()); edit && edit->isVisible())
        return edit;
    if (auto* list = qobject_cast<QComboBox*>(m_editor.data()); list && list->isVisible())
        return list->lineEdit();
    return nullptr;
}

QString CGridCtrl::SelectionText() const
{
    const QRect bounds = SelectedBounds();
    if (bounds.isNull())
        return {};
    QString text;
    for (int row = bounds.top(); row <= bounds.bottom(); ++row) {
        for (int col = bounds.left(); col <= bounds.right(); ++col) {
            if (col > bounds.left())
                text += QLatin1Char('\t');
            if (IsCellSelected(row, col))
                text += GetCellText(row, col);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void CGridCtrl::OnEditCopy()
{
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->copy();
        return;
    }
    if (!m_selection.empty())
        QGuiApplication::clipboard()->setText(SelectionText());
}

void CGridCtrl::OnEditCut()
{
    if (!m_editable)
        return;
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->cut();
        return;
    }
    OnEditCopy();
    OnEditClear();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_editable)
        return;
    if (QLineEdit* edit = OpenLineEditor()) {
        edit->paste();
        return;
    }
    const QRect bounds = SelectedBounds();
    const CCellID start = bounds.isNull() ? m_focus : CCellID{bounds.top(), bounds.left()};
    if (start.IsValid())
        PasteText(start.row, start.col, QGuiApplication::clipboard()->text());
}

void CGridCtrl::OnEditSelectAll()
{
    SelectAllCells();
}

void CGridCtrl::OnEditClear()
{
    if (!m_editable)
        return;
    EndFocusEdit();
    // The validated sets may call back into code that changes the selection.
    const std::set<std::pair<int, int>> cells = m_selection;
    for (const auto& [row, col] : cells)
        SetCellTextValidated(row, col, QString());
    viewport()->update();
}

bool CGridCtrl::PasteText(int row, int col, const QString& text)
{
    if (!IsValid(row, col))
        return false;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalised.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    bool reached = false;
    for (int i = 0; i < lines.size() && row + i < GetRowCount(); ++i) {
        const QString& line = lines.at(i);
        int fieldStart = 0;
        for (int c = col; c < m_cols; ++c) {
            // The last column takes the rest of the line as it stands, so no pasted text is
            // dropped silently.
            qsizetype end = -1;
            if (c < m_cols - 1) {
                const qsizetype tab = line.indexOf(QLatin1Char('\t'), fieldStart);
                const qsizetype comma = line.indexOf(QLatin1Char(','), fieldStart);
                end = (tab < 0) ? comma : (comma < 0 ? tab : std::min(tab, comma));
            }
            const QString field = line.mid(fieldStart, end < 0 ? -1 : end - fieldStart);
            SetCellTextValidated(row + i, c, field);
            reached = true;
            if (end < 0)
                break;
            fieldStart = static_cast<int>(end) + 1;
        }
    }
    viewport()->update();
    return reached;
}
