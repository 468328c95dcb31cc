#pragma once

#include "RowParts.h"

#include <QColor>

#include <functional>
#include <optional>

class QLabel;
class SymbolLabel;

// One choice of a list: optional leading text, title, optional subtitle and a checkmark
// while selected. The whole row is a button.
class SettingsSelectionRow final : public SettingsRowButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsSelectionRow)

public:
    SettingsSelectionRow(const std::optional<QString> &leading, const QString &title,
                         const std::optional<QString> &subtitle, bool isSelected,
                         const std::optional<QColor> &selectionColor, std::function<void()> action,
                         QWidget *parent = nullptr);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

private:
    void applyTheme();

    bool m_selected;
    std::optional<QColor> m_selectionColor;
    std::function<void()> m_action;
    QLabel *m_leading = nullptr;
    QLabel *m_title;
    QLabel *m_subtitle = nullptr;
    SymbolLabel *m_checkmark;
};
