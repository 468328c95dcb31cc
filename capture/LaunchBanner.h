#pragma once

#include <QWidget>

class BusyIndicator;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class RecorderModel;
class SymbolLabel;
class ThrottledLogView;

// The recorder's banner for its launch run: state icon, title, build progress, summary, the
// log toggle, cancel or hide, and the run's output. Shown only while the model has a run.
class LaunchBanner final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchBanner)

public:
    explicit LaunchBanner(RecorderModel *model, QWidget *parent = nullptr);

    ThrottledLogView *logView() const { return m_log; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    RecorderModel *m_model = nullptr;
    BusyIndicator *m_busy = nullptr;
    SymbolLabel *m_resultIcon = nullptr;
    QLabel *m_title = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_logButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QToolButton *m_hideButton = nullptr;
    ThrottledLogView *m_log = nullptr;
};
