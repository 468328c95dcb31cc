#pragma once

#include <ScreenshotRunSession.h>

#include <QColor>
#include <QWidget>

class BusyIndicator;
class QLabel;
class QVariantAnimation;

// The 26 × 2 line between two cells of a run chain; its fill follows the cell on its left.
class NodeConnector final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NodeConnector)

public:
    explicit NodeConnector(QWidget *parent = nullptr);

    bool isFilled() const { return m_filled; }
    // Animated with the chain's spring unless animations are off or the line is not shown.
    void setFilled(bool filled);
    // The colour painted right now (mid-animation a blend).
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_filled = false;
    QColor m_color;
    QVariantAnimation *m_animation = nullptr;
};

// One cell of a run chain: a circle showing the node's state above the shot's name.
class NodeBadge final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NodeBadge)

public:
    explicit NodeBadge(const QString &title, RunNodeState state = RunNodeState::Pending, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    RunNodeState state() const { return m_state; }
    void setState(RunNodeState state);

    static constexpr int columnWidth = 92;
    static constexpr int circleDiameter = 44;

private:
    class Circle;

    QString m_title;
    RunNodeState m_state;
    Circle *m_circle = nullptr;
    QLabel *m_titleLabel = nullptr;
    BusyIndicator *m_busy = nullptr;
};
