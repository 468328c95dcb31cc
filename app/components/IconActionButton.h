#pragma once

#include <QAbstractButton>

#include <functional>
#include <optional>

class QVariantAnimation;

// The role a button plays; a destructive button shows its label in red.
enum class ButtonRole { Cancel, Destructive };

// A symbol and a title on a glass capsule. Grows a little while the pointer is over it;
// its help text is its title; a click calls the action.
class IconActionButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IconActionButton)

public:
    IconActionButton(const QString &title, const QString &systemImage,
                     std::optional<ButtonRole> role = std::nullopt,
                     std::function<void()> action = {}, QWidget *parent = nullptr);

    QString title() const { return text(); }
    QString systemImage() const { return m_systemImage; }
    std::optional<ButtonRole> role() const { return m_role; }

    void setTitle(const QString &title);
    void setSystemImage(const QString &systemImage);
    void setRole(std::optional<ButtonRole> role);
    void setAction(std::function<void()> action);

    // The label's colour: red for the destructive role, otherwise the text colour.
    QColor labelColor() const;
    bool isHovered() const { return m_hovered; }
    // 1.0 at rest, 1.05 while hovered (reached through a spring).
    qreal scale() const { return m_scale; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovered(bool hovered);
    QSize capsuleSize() const;

    QString m_systemImage;
    std::optional<ButtonRole> m_role;
    std::function<void()> m_action;
    bool m_hovered = false;
    qreal m_scale = 1.0;
    QVariantAnimation *m_animation = nullptr;
};
