#pragma once

#include "RowParts.h"

#include <QColor>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class SymbolLabel;

// The role a button plays, as the platform knows it.
enum class SettingsButtonRole { Cancel, Destructive };

// A row that runs an action: plain (icon and title, the whole row tappable) or prominent
// (a full-width filled button). A destructive role makes it red.
class SettingsButtonRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsButtonRow)

public:
    SettingsButtonRow(const QString &title, const QString &icon, const std::optional<QColor> &iconColor,
                      std::optional<SettingsButtonRole> role, bool prominent, std::function<void()> action,
                      QWidget *parent = nullptr);

    bool isProminent() const { return m_prominent; }
    bool isDestructive() const { return m_role == SettingsButtonRole::Destructive; }
    // The button that takes the tap (the row button or the prominent one).
    QAbstractButton *button() const { return m_button; }
    // Colours now shown: icon and title (plain), or the fill (prominent).
    QColor iconColor() const;
    QColor titleColor() const;
    QColor prominentTint() const;

private:
    void applyTheme();

    std::optional<QColor> m_iconColor;
    std::optional<SettingsButtonRole> m_role;
    bool m_prominent;
    std::function<void()> m_action;
    QAbstractButton *m_button = nullptr;
    SymbolLabel *m_icon = nullptr;
    QLabel *m_title = nullptr;
};
