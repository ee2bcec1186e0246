#pragma once

#include <QAbstractButton>

namespace desktop {
class SymbolImage;
}

namespace views {

// A plain button (no bezel, no background) showing a symbol of the given height, its width
// following the symbol's proportions, in one colour. Dimmed while pressed.
class SymbolButton final : public QAbstractButton {
    Q_OBJECT
public:
    SymbolButton(const desktop::SymbolImage& symbols, const QString& symbolName, int height,
                 QColor tint, QWidget* parent = nullptr);

    const QString& symbolName() const { return m_symbolName; }
    void setSymbolName(const QString& name);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const desktop::SymbolImage& m_symbols;
    QString m_symbolName;
    int m_height;
    QColor m_tint;
};

} // namespace views
