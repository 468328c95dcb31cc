#pragma once

#include <QDialog>

class AppModel;
class QLabel;
class QPushButton;

// The greeting shown while the model asks for onboarding: what the program does, the
// projects folder it will scan, and a button that finishes onboarding. Escape only closes it.
class OnboardingSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnboardingSheet)

public:
    OnboardingSheet(AppModel *model, QWidget *parent);

    QPushButton *startButton() const { return m_start; }

private:
    void syncFolder();

    AppModel *m_model = nullptr;
    QLabel *m_folder = nullptr;
    QPushButton *m_start = nullptr;
};
