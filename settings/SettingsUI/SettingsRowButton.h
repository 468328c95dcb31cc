#pragma once

#include <QAbstractButton>

// A plain-style button whose whole rectangle takes the tap; it draws nothing of its own
// beyond a faint darkening while pressed, its children are the row.
class SettingsRowButton : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsRowButton)

public:
    explicit SettingsRowButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
