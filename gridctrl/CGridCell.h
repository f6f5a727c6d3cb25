#pragma once

#include "gridctrl/CGridCellBase.h"

#include <memory>

// The plain text cell: holds everything a cell has and edits with a CInPlaceEdit.
class CGridCell : public CGridCellBase {
public:
    CGridCell() = default;
    ~CGridCell() override;

    QString GetText() const override { return m_text; }
    void SetText(const QString& text) override { m_text = text; }
    int GetImage() const override { return m_image; }
    void SetImage(int image) override { m_image = image; }
    quintptr GetData() const override { return m_data; }
    void SetData(quintptr data) override { m_data = data; }
    unsigned GetState() const override { return m_state; }
    void SetState(unsigned state) override { m_state = state; }
    unsigned GetFormat() const override { return m_format; }
    void SetFormat(unsigned format) override { m_format = format; }
    QColor GetTextClr() const override { return m_textClr; }
    void SetTextClr(QColor colour) override { m_textClr = colour; }
    QColor GetBackClr() const override { return m_backClr; }
    void SetBackClr(QColor colour) override { m_backClr = colour; }
    const QFont* GetFont() const override;
    void SetFont(const QFont* font) override;
    const QFont* GetOwnFont() const override { return m_font.get(); }
    int GetMargin() const override { return m_margin; }
    void SetMargin(int margin) override { m_margin = margin; }

    bool Edit(int row, int col, const QRect& rect, QPoint point, int id, int key) override;
    void EndEdit() override;

private:
    QString m_text;
    int m_image = -1;
    quintptr m_data = 0;
    unsigned m_state = 0;
    unsigned m_format = GridFormat::Default;
    QColor m_textClr;
    QColor m_backClr;
    std::unique_ptr<QFont> m_font;
    int m_margin = 3;
};
