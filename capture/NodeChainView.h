#pragma once

#include <QScrollArea>

#include <optional>

class QGraphicsOpacityEffect;

// One language's chain of run cells: a sideways scroll view without indicators. A mouse
// wheel over a chain that overflows moves it sideways (Shift+wheel, a plain vertical wheel, a
// tilt wheel or a touchpad alike) until the chain's end in that direction; from there on the
// wheel belongs to the grid around it. Cells cut off at an edge fade out towards it.
class NodeChainView final : public QScrollArea
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NodeChainView)

public:
    explicit NodeChainView(QWidget *parent = nullptr);

    // The chain's content reaches past the edge there.
    bool fadesLeading() const { return m_fadesLeading; }
    bool fadesTrailing() const { return m_fadesTrailing; }

    // Where a wheel turn of `delta` pixels (positive towards the start) takes a chain at
    // `value` of 0…`maximum`; none when it cannot move that way, so the wheel goes on.
    static std::optional<int> wheelTarget(int value, int maximum, int delta);

    // Pixels one wheel notch moves a chain: one cell with its connector.
    static int notchStep();
    static constexpr int fadeWidth = 28;

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateFade();

    QGraphicsOpacityEffect *m_fade = nullptr;
    bool m_fadesLeading = false;
    bool m_fadesTrailing = false;
};
