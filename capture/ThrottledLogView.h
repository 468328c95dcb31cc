#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>

// A read-only, selectable log pane for a run's recent output. Lines may be handed over as
// often as they arrive, shown or hidden; the text is applied at most once per frame (~16 ms).
// Whenever it becomes visible the newest line is in view, and it stays anchored there as
// lines arrive and as its size changes, until the user scrolls up; scrolling back to the end
// anchors it again.
class ThrottledLogView final : public QPlainTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThrottledLogView)

public:
    explicit ThrottledLogView(QWidget *parent = nullptr);

    // Schedules the lines to be shown; repeated calls within one frame coalesce.
    void setLines(const QStringList &lines);
    // The lines currently shown (after the last applied update).
    QStringList shownLines() const { return m_shown; }
    // Shown while there are no lines.
    void setPlaceholder(const QString &text) { setPlaceholderText(text); }
    // Applies pending lines now (tests, or before a grab).
    void flush();
    // How many times the text was actually replaced or extended.
    int appliedUpdates() const { return m_appliedUpdates; }
    bool hasPendingLines() const { return m_timer.isActive(); }
    // Whether the view keeps the newest line in view.
    bool followsNewest() const { return m_followNewest; }

    static constexpr int frameIntervalMs = 16;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void apply();
    void scrollToNewest();

    QTimer m_timer;
    QStringList m_pending;
    QStringList m_shown;
    int m_appliedUpdates = 0;
    bool m_followNewest = true;
    // Set while the view moves its own scroll bar, which is no sign of the user's intent.
    bool m_scrolling = false;
};
