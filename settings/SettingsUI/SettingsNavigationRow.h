#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

class QLabel;
class SymbolLabel;

// An entry that leads somewhere: icon, title and a trailing chevron. The owner navigates.
class SettingsNavigationRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsNavigationRow)

public:
    SettingsNavigationRow(const QString &title, const QString &icon, const std::optional<QColor> &iconColor = std::nullopt,
                          QWidget *parent = nullptr);

private:
    void applyTheme();

    std::optional<QColor> m_iconColor;
    SymbolLabel *m_icon;
    QLabel *m_title;
    SymbolLabel *m_chevron;
};
