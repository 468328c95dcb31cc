#pragma once

#include <QDialog>

#include <functional>

class AppModel;
class QLabel;
class QPushButton;

// The greeting shown while the model asks for onboarding: what the program does, the
// projects folder it will scan (which can be chosen here), and a button that finishes
// onboarding. Escape only closes it.
class OnboardingSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnboardingSheet)

public:
    OnboardingSheet(AppModel *model, QWidget *parent);

    QPushButton *startButton() const { return m_start; }
    QPushButton *chooseFolderButton() const { return m_choose; }
    // The projects folder as the sheet names it; the line itself elides a long one in the middle.
    QString folder() const { return m_folderText; }

    // Asks for a folder (parent, title, folder to start in); an empty answer is a cancel.
    // The desktop's folder dialog unless tests put another in.
    using FolderChooser = std::function<QString(QWidget *, const QString &, const QString &)>;
    static void setFolderChooser(FolderChooser chooser);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncFolder();
    void elideFolder();
    void chooseFolder();

    AppModel *m_model = nullptr;
    QString m_folderText;
    QLabel *m_folder = nullptr;
    QPushButton *m_choose = nullptr;
    QPushButton *m_start = nullptr;
};
