#pragma once

#include <Binding.h>

#include <QColor>
#include <QWidget>

#include <optional>

class QLabel;
class SettingsSwitch;
class SymbolLabel;

// A switch bound to a Bool, labelled by an icon, a title and an optional subtitle.
class SettingsToggleRow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsToggleRow)

public:
    SettingsToggleRow(const QString &title, const std::optional<QString> &subtitle, const QString &icon,
                      const std::optional<QColor> &iconColor, const std::optional<QColor> &tint, Binding<bool> isOn,
                      QWidget *parent = nullptr);

    // Shows the binding's current value (after the owner changed it).
    void refresh();
    SettingsSwitch *toggle() const { return m_switch; }

private:
    void applyTheme();

    std::optional<QColor> m_iconColor;
    std::optional<QColor> m_tint;
    Binding<bool> m_isOn;
    SymbolLabel *m_icon;
    QLabel *m_title;
    QLabel *m_subtitle = nullptr;
    SettingsSwitch *m_switch;
};
