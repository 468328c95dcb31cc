#include "PlaceholderPane.h"

#include <AppPalette.h>
#include <SymbolLabel.h>
#include <TextStyle.h>

#include <QLabel>
#include <QVBoxLayout>

PlaceholderPane::PlaceholderPane(const QString &systemImage, const QString &title,
                                 const QStringList &lines, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("placeholderPane"));

    m_icon = new SymbolLabel(systemImage, TextStyle::Body, this);
    m_icon->setObjectName(QStringLiteral("placeholderIcon"));
    m_icon->setPixelSize(48);
    m_icon->setColor(AppPalette::tertiaryText());
    m_icon->setAlignment(Qt::AlignCenter);

    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("placeholderTitle"));
    m_title->setFont(TextStyles::font(TextStyle::Title2));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 32, 32, 32);
    layout->setSpacing(12);
    layout->addStretch(1);
    layout->addWidget(m_icon);
    layout->addWidget(m_title);
    m_linesLayout = new QVBoxLayout;
    m_linesLayout->setSpacing(4);
    layout->addLayout(m_linesLayout);
    layout->addStretch(1);

    setLines(lines);
}

QString PlaceholderPane::systemImage() const
{
    return m_icon->symbolName();
}

QString PlaceholderPane::title() const
{
    return m_title->text();
}

void PlaceholderPane::setSystemImage(const QString &systemImage)
{
    m_icon->setSymbolName(systemImage);
}

void PlaceholderPane::setTitle(const QString &title)
{
    if (m_title->text() != title)
        m_title->setText(title);
}

void PlaceholderPane::setLines(const QStringList &lines)
{
    m_lines = lines;
    while (m_lineLabels.size() > lines.size())
        delete m_lineLabels.takeLast();
    while (m_lineLabels.size() < lines.size()) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("placeholderLine"));
        label->setFont(TextStyles::font(TextStyle::Callout));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, AppPalette::secondaryText());
        label->setPalette(palette);
        m_linesLayout->addWidget(label);
        m_lineLabels.append(label);
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (m_lineLabels[i]->text() != lines[i])
            m_lineLabels[i]->setText(lines[i]);
    }
}
