#include "QuitConfirmationDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace QuitConfirmationDialog {

QuitConfirmation::Answer ask(const QuitConfirmation &question, QWidget *parent)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("quitConfirmation"));
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(question.title());
    box.setText(question.text());
    box.setWindowModality(Qt::WindowModal);
    QPushButton *back = box.addButton(question.backLabel(), QMessageBox::RejectRole);
    back->setObjectName(QStringLiteral("quitBackButton"));
    QPushButton *quit = box.addButton(question.quitLabel(), QMessageBox::DestructiveRole);
    quit->setObjectName(QStringLiteral("quitWithoutSavingButton"));
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == quit ? QuitConfirmation::Answer::QuitWithoutSaving
                                       : QuitConfirmation::Answer::Back;
}

} // namespace QuitConfirmationDialog
