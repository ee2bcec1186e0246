#pragma once

#include <QWidget>

namespace views {

// One line of caption text, 10 points in from the left and right, elided in the middle.
class CaptionLabel final : public QWidget {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& text, QWidget* parent = nullptr);

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    // The text as drawn at the current width.
    QString displayedText() const;
    // Whether the drawn text leaves part of the text out.
    bool isElided() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kHorizontalPadding = 10;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QString m_line;       // what may be drawn: one line, a long text cut to its two ends
    bool m_isCut = false; // m_line leaves the middle of a long text out
};

} // namespace views
