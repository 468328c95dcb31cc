#include "QuitConfirmationDialog.h"

#include <AppPalette.h>
#include <Symbols.h>

#include <QMessageBox>
#include <QPushButton>

namespace QuitConfirmationDialog {

QuitConfirmation::Answer ask(const QuitConfirmation &question, QWidget *parent)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("quitConfirmation"));
    // The same warning sign as the save error above the page, not the platform's generic icon.
    box.setIcon(QMessageBox::Warning);
    box.setIconPixmap(Symbols::pixmap(QStringLiteral("exclamationmark.triangle.fill"), AppPalette::warning(), 40,
                                      box.devicePixelRatioF()));
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
