#include "VersionInfoCard.h"

#include "LocalizedText.h"

#include <AppVersion.h>
#include <SymbolLabel.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

VersionInfoCard::VersionInfoCard(const std::optional<QString> &released, QWidget *parent)
    : LegalWidget(parent)
    , m_released(released)
    , m_icon(new SymbolLabel(QStringLiteral("chart.bar.fill"), TextStyle::Title3))
    , m_header(LegalStyle::plainLabel())
{
    setObjectName(QStringLiteral("versionInfoCard"));
    QVBoxLayout *column = LegalStyle::cardColumn(this, QMargins(20, 20, 20, 20), 16);
    auto *header = new QHBoxLayout;
    header->addWidget(m_icon);
    m_header->setFont(LegalStyle::font(TextStyle::Headline, QFont::DemiBold));
    header->addWidget(m_header);
    header->addStretch(1);
    column->addLayout(header);

    auto *rows = new QVBoxLayout;
    rows->setSpacing(12);
    QStringList keys{QStringLiteral("appinfo.version"), QStringLiteral("appinfo.build")};
    if (m_released)
        keys << QStringLiteral("appinfo.released");
    for (const QString &key : keys) {
        Row row{key, LegalStyle::plainLabel(), LegalStyle::plainLabel()};
        row.label->setFont(LegalStyle::font(TextStyle::Body));
        row.value->setFont(LegalStyle::font(TextStyle::Body, QFont::Medium, true));
        row.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto *line = new QHBoxLayout;
        line->setContentsMargins(0, 4, 0, 4);
        line->addWidget(row.label);
        line->addStretch(1);
        line->addWidget(row.value);
        rows->addLayout(line);
        m_rows.append(row);
    }
    column->addLayout(rows);
    watchEnvironment();
}

QPair<QString, QString> VersionInfoCard::row(int index) const
{
    const Row &r = m_rows.at(index);
    return {r.label->text(), r.value->text()};
}

void VersionInfoCard::applyEnvironment()
{
    const SettingsTheme t = theme();
    const QLocale l = locale();
    m_icon->setColor(t.accent);
    LegalStyle::setColor(m_header, t.textPrimary);
    LegalStyle::setText(m_header, legalString(QStringLiteral("appinfo.section.version"), l));
    const QStringList values{AppVersion::marketing(), AppVersion::build(), m_released.value_or(QString())};
    for (int i = 0; i < m_rows.size(); ++i) {
        LegalStyle::setColor(m_rows[i].label, t.textSecondary);
        LegalStyle::setColor(m_rows[i].value, t.textPrimary);
        LegalStyle::setText(m_rows[i].label, legalString(m_rows[i].labelKey, l));
        LegalStyle::setText(m_rows[i].value, values.at(i));
    }
}
