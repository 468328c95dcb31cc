#pragma once

#include "RowParts.h"

#include <QColor>

#include <functional>

class QLabel;
class SymbolLabel;

// A title with a coloured status text; with an action the whole row is a button.
class SettingsStatusRow final : public SettingsRowButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsStatusRow)

public:
    SettingsStatusRow(const QString &title, const QString &icon, const QString &status, const QColor &statusColor,
                      std::function<void()> action = {}, QWidget *parent = nullptr);

    QString status() const;
    void setStatus(const QString &status, const QColor &color);
    bool hasAction() const { return bool(m_action); }

private:
    void applyTheme();

    std::function<void()> m_action;
    QColor m_statusColor;
    SymbolLabel *m_icon;
    QLabel *m_title;
    QLabel *m_status;
};
