#include "SettingsSelectionRow.h"

#include <SettingsTheme.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>

SettingsSelectionRow::SettingsSelectionRow(const std::optional<QString> &leading, const QString &title,
                                           const std::optional<QString> &subtitle, bool isSelected,
                                           const std::optional<QColor> &selectionColor, std::function<void()> action,
                                           QWidget *parent)
    : SettingsRowButton(parent)
    , m_selected(isSelected)
    , m_selectionColor(selectionColor)
    , m_action(std::move(action))
{
    setObjectName(QStringLiteral("settingsSelectionRow"));
    auto *row = new QHBoxLayout(this);
    RowParts::setVerticalPadding(row, RowParts::rowPadding);
    row->setSpacing(RowParts::rowSpacing);
    if (leading) {
        m_leading = RowParts::label(*leading, QStringLiteral("rowLeading"), this);
        m_leading->setFixedWidth(RowParts::iconSlotWidth);
        m_leading->setAlignment(Qt::AlignCenter);
        row->addWidget(m_leading);
    }
    row->addLayout(RowParts::titleStack(title, subtitle, this, m_title, m_subtitle), 1);
    m_checkmark = new SymbolLabel(QStringLiteral("checkmark"), TextStyle::Body, this);
    m_checkmark->setObjectName(QStringLiteral("rowCheckmark"));
    m_checkmark->setForegroundRole(QPalette::WindowText);
    // Hidden or shown, the checkmark keeps its place: the title never moves.
    QSizePolicy keep = m_checkmark->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_checkmark->setSizePolicy(keep);
    m_checkmark->setVisible(m_selected);
    row->addWidget(m_checkmark);

    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

void SettingsSelectionRow::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    m_checkmark->setVisible(selected);
}

void SettingsSelectionRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    const QFont body = theme.font(KitTextStyle::Body);
    if (m_leading)
        RowParts::setTextLook(m_leading, body, theme.textPrimary);
    RowParts::styleTitleStack(m_title, m_subtitle, theme);
    m_checkmark->setPixelSize(theme.font(KitTextStyle::Body, QFont::DemiBold).pixelSize() * 1.25);
    m_checkmark->setColor(m_selectionColor.value_or(theme.accent));
}
