#include "SettingsButtonRow.h"

#include <AppPalette.h>
#include <SettingsTheme.h>
#include <SymbolLabel.h>
#include <Symbols.h>

#include <QHBoxLayout>
#include <QPushButton>

SettingsButtonRow::SettingsButtonRow(const QString &title, const QString &icon, const std::optional<QColor> &iconColor,
                                     std::optional<SettingsButtonRole> role, bool prominent,
                                     std::function<void()> action, QWidget *parent)
    : QWidget(parent)
    , m_iconColor(iconColor)
    , m_role(role)
    , m_prominent(prominent)
    , m_action(std::move(action))
{
    setObjectName(QStringLiteral("settingsButtonRow"));
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (m_prominent) {
        auto *button = new QPushButton(title, this);
        button->setObjectName(QStringLiteral("rowProminentButton"));
        button->setCursor(Qt::PointingHandCursor);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_button = button;
        outer->addWidget(button);
    } else {
        auto *rowButton = new SettingsRowButton(this);
        rowButton->setObjectName(QStringLiteral("rowButton"));
        rowButton->setAccessibleName(title);
        auto *row = new QHBoxLayout(rowButton);
        RowParts::setVerticalPadding(row, RowParts::rowPadding);
        row->setSpacing(RowParts::rowSpacing);
        m_icon = RowParts::iconSlot(icon, rowButton);
        row->addWidget(m_icon);
        m_title = RowParts::label(title, QStringLiteral("rowTitle"), rowButton);
        row->addWidget(m_title);
        row->addStretch(1);
        m_button = rowButton;
        outer->addWidget(rowButton);
    }
    m_button->setProperty("iconSymbol", icon);
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    SettingsTheme::watch(this, [this] { applyTheme(); });
}

QColor SettingsButtonRow::iconColor() const
{
    const SettingsTheme theme = SettingsTheme::of(this);
    return isDestructive() ? AppPalette::destructive() : m_iconColor.value_or(theme.accent);
}

QColor SettingsButtonRow::titleColor() const
{
    return isDestructive() ? AppPalette::destructive() : SettingsTheme::of(this).textPrimary;
}

QColor SettingsButtonRow::prominentTint() const
{
    return isDestructive() ? AppPalette::destructive() : SettingsTheme::of(this).accent;
}

void SettingsButtonRow::applyTheme()
{
    const SettingsTheme theme = SettingsTheme::of(this);
    const QFont body = theme.font(KitTextStyle::Body);
    if (!m_prominent) {
        RowParts::styleIconSlot(m_icon, theme, iconColor());
        RowParts::setTextLook(m_title, body, titleColor());
        return;
    }
    auto *button = static_cast<QPushButton *>(m_button);
    const QColor tint = prominentTint();
    const int iconSize = qRound(body.pixelSize() * 1.2);
    button->setIcon(Symbols::icon(m_button->property("iconSymbol").toString(), Qt::white, iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setFont(body);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background: %1; color: white; border: none; border-radius: 7px; padding: 6px 12px; }"
        "QPushButton:hover { background: %2; }"
        "QPushButton:pressed { background: %3; }"
        "QPushButton:disabled { background: rgba(255,255,255,30); color: rgba(255,255,255,90); }")
                              .arg(tint.name(), tint.lighter(112).name(), tint.darker(115).name()));
}
