#pragma once

#include <ScreenshotRunSession.h>

#include <QDialog>
#include <QList>

class NodeBadge;
class NodeChainView;
class NodeConnector;
class QProgressBar;
class QPushButton;
class QScrollArea;
class SheetHeader;
class ThrottledLogView;

// The window-modal sheet in which one screenshot run takes place: the phase, one chain of
// shot cells per language, the log and the buttons that fit the phase. It owns its session,
// starts it when first shown and cancels it whenever it goes away, however that happens.
class AutomationRunView final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutomationRunView)

public:
    // Takes ownership of `session`.
    explicit AutomationRunView(ScreenshotRunSession *session, QWidget *parent = nullptr);
    ~AutomationRunView() override;

    ScreenshotRunSession *session() const { return m_session; }
    bool showLog() const { return m_showLog; }
    void setShowLog(bool show);

    // The cells of the grid, per plan language in plan order (tests and grabs).
    QList<NodeBadge *> badges(int languageIndex) const;
    // connectors(l).at(i) sits in front of badges(l).at(i + 1).
    QList<NodeConnector *> connectors(int languageIndex) const;
    // The sideways scroll view holding a language's cells; none for a plan without shots.
    NodeChainView *chainView(int languageIndex) const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct LanguageChain
    {
        QString language;
        QList<NodeBadge *> badges;
        QList<NodeConnector *> connectors;
        NodeChainView *view = nullptr;
    };

    QWidget *buildHeader();
    QWidget *buildGrid();
    QWidget *languageCard(const QString &language, QWidget *parent);
    QWidget *buildFooter();

    void updatePhase();
    void updateNodes();
    void updateLog();
    void stopSession();

    ScreenshotRunSession *m_session = nullptr;
    bool m_showLog = false;
    bool m_started = false;

    SheetHeader *m_header = nullptr;
    QList<LanguageChain> m_chains;
    QPushButton *m_logToggle = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_finishButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_restartButton = nullptr;
    QPushButton *m_dismissButton = nullptr;
    ThrottledLogView *m_log = nullptr;
};
