#pragma once

#include <QAbstractButton>

namespace desktop {
class SymbolImage;
}

namespace views {

// A plain button (no bezel) showing a symbol of the given height, its width following the
// symbol's proportions, in one colour. The button is at least `target` square around the
// symbol, so that it is easy to hit; under the pointer it shows a soft rounded highlight, and
// it is dimmed while pressed.
class SymbolButton final : public QAbstractButton {
    Q_OBJECT
public:
    SymbolButton(const desktop::SymbolImage& symbols, const QString& symbolName, int height,
                 QColor tint, int target = 0, QWidget* parent = nullptr);

    const QString& symbolName() const { return m_symbolName; }
    void setSymbolName(const QString& name);
    // The symbol's size, which the button may exceed.
    QSize symbolSize() const;
    bool isHighlighted() const { return m_isHighlighted; }
    // The whole button drawn this opaque (0 to 1). Fading through the painter, not a graphics
    // effect: effects do not nest, and the button sits in views that fade in with one.
    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHighlighted(bool isHighlighted);

    const desktop::SymbolImage& m_symbols;
    QString m_symbolName;
    int m_height;
    QColor m_tint;
    int m_target;
    bool m_isHighlighted = false;
    qreal m_opacity = 1.0;
};

} // namespace views
