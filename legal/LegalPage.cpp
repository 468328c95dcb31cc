#include "LegalPage.h"

#include <QScrollArea>
#include <QVBoxLayout>

LegalPage::LegalPage(const QString &titleKey, QWidget *parent)
    : LegalWidget(parent)
    , m_titleKey(titleKey)
    , m_scroll(new QScrollArea(this))
    , m_column(new QWidget)
    , m_layout(new QVBoxLayout(m_column))
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);
    m_scroll->setObjectName(QStringLiteral("legalPageScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_column->setObjectName(QStringLiteral("legalPageColumn"));
    m_layout->setContentsMargins(16, 8, 16, 8);
    m_layout->setSpacing(24);
    m_layout->addStretch(1);
    legalPageWidth(m_column);
    m_scroll->setWidget(m_column);
}

QList<QWidget *> LegalPage::parts() const
{
    QList<QWidget *> result;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (QWidget *w = m_layout->itemAt(i)->widget())
            result.append(w);
    }
    return result;
}

void LegalPage::addPart(QWidget *part)
{
    if (!part)
        return;
    // Keep the trailing stretch last so short pages sit at the top.
    m_layout->insertWidget(m_layout->count() - 1, part);
}

void LegalPage::applyEnvironment()
{
    const QString title = legalString(m_titleKey, locale());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void legalPageWidth(QWidget *column)
{
    if (column)
        column->setSizePolicy(QSizePolicy::Expanding, column->sizePolicy().verticalPolicy());
}
