#pragma once

#include <QWidget>

// A one-line text that elides in the middle when squeezed, instead of pushing its row wider
// than the card. Keeps the whole text as its tooltip.
class ElidedLabel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ElidedLabel)

public:
    explicit ElidedLabel(const QString &text = QString(), QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // The text as drawn at the current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_text;
};
