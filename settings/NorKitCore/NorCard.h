#pragma once

#include <QWidget>

#include <optional>

class CardShadowEffect;

// A container drawn on the kit's material card: translucent fill, gradient rim and a soft
// shadow. Without a fixed radius it follows the installed theme's cardCornerRadius.
class NorCard final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NorCard)

public:
    // Themed: the corner radius comes from the theme in effect.
    explicit NorCard(QWidget *parent = nullptr);
    // A fixed corner radius.
    explicit NorCard(qreal cornerRadius, QWidget *parent = nullptr);

    std::optional<qreal> fixedCornerRadius() const { return m_fixedRadius; }
    void setFixedCornerRadius(std::optional<qreal> radius);
    // The radius drawn: the fixed one, else the theme's.
    qreal cornerRadius() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyTheme();

    std::optional<qreal> m_fixedRadius;
    CardShadowEffect *m_shadow = nullptr;
};
