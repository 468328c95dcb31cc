#pragma once

#include <BuildConfiguration.h>
#include <ScreenshotPlan.h>
#include <XcodeProject.h>

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class BusyIndicator;
class LaunchBanner;
class QCheckBox;
class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QVariantAnimation;
class RecorderModel;
class RecorderStepList;
class SheetHeader;
class SimulatorLocationSheet;
class SymbolLabel;

// The live recorder sheet: listens for taps from the app in the simulator while it is shown,
// lists them as editable steps and hands the finished shot to `onSave`. Window-modal. Every
// way of closing it stops the listener and cancels a launch still shown; only "Speichern"
// calls `onSave`.
class RecorderView final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecorderView)

public:
    RecorderView(const XcodeProject &project, BuildConfiguration configuration,
                 QMap<QString, QString> launchEnvironment, QStringList launchArguments,
                 std::optional<PlanLocation> initialLocation, std::function<void(const Shot &)> onSave,
                 QWidget *parent = nullptr);
    ~RecorderView() override;

    RecorderModel *model() const { return m_model; }
    RecorderStepList *stepList() const { return m_stepList; }
    LaunchBanner *launchBanner() const { return m_banner; }
    // The location sheet while it is open.
    SimulatorLocationSheet *locationSheet() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildToolbar();
    QWidget *buildPlaceholder();
    QWidget *buildFooter();

    void openLocationSheet();
    void updateStatus();
    void updatePulse(bool pulsing);
    void updateToolbar();
    void updateSteps();
    void updateResolver();
    void updateLocationButton();
    void updateSaveRow();
    void stop();

    RecorderModel *m_model = nullptr;
    bool m_stopped = false;

    QGraphicsOpacityEffect *m_pulseEffect = nullptr;
    QVariantAnimation *m_pulse = nullptr;
    SheetHeader *m_header = nullptr;

    QPushButton *m_startButton = nullptr;
    QPushButton *m_pauseButton = nullptr;
    QPushButton *m_locationButton = nullptr;
    QWidget *m_stepCount = nullptr;
    QLabel *m_stepCountText = nullptr;

    LaunchBanner *m_banner = nullptr;
    QStackedWidget *m_body = nullptr;
    RecorderStepList *m_stepList = nullptr;
    QWidget *m_placeholder = nullptr;

    QToolButton *m_addMenuButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    BusyIndicator *m_resolverProgress = nullptr;
    QLabel *m_resolverMessage = nullptr;
    QCheckBox *m_stabilizeBox = nullptr;
    QLineEdit *m_shotNameField = nullptr;
    QPushButton *m_saveButton = nullptr;

    QPointer<SimulatorLocationSheet> m_locationSheet;
};
