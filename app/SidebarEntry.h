#pragma once

#include <QAbstractButton>

// One row of the source list outside the project list (the "Einstellungen" entry): a symbol
// and a title, highlighted like a selected list row while it is checked.
class SidebarEntry final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SidebarEntry)

public:
    SidebarEntry(const QString &systemImage, const QString &title, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_systemImage;
};
