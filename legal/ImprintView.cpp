#include "ImprintView.h"

#include "LegalAddressBlock.h"
#include "LegalLastUpdated.h"
#include "LegalLinkRow.h"
#include "LegalPageHeader.h"
#include "LegalSection.h"
#include "LegalText.h"
#include "LegalTitledItem.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QWidget *column(int spacing, const QList<QWidget *> &items)
{
    auto *widget = new QWidget;
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget *item : items)
        layout->addWidget(item);
    return widget;
}

// The VAT number block: caption label over the number.
class VatBlock final : public LegalWidget
{
public:
    explicit VatBlock(const QString &vatID)
        : m_caption(LegalStyle::wrappingLabel())
        , m_number(LegalStyle::plainLabel())
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(8);
        m_caption->setFont(LegalStyle::font(TextStyle::Caption));
        m_number->setFont(LegalStyle::font(TextStyle::Body, QFont::DemiBold, true));
        m_number->setObjectName(QStringLiteral("vatNumber"));
        m_number->setText(vatID);
        m_number->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(m_caption);
        layout->addWidget(m_number);
        watchEnvironment();
    }

protected:
    void applyEnvironment() override
    {
        LegalStyle::setColor(m_caption, theme().textSecondary);
        LegalStyle::setColor(m_number, theme().textPrimary);
        LegalStyle::setText(m_caption, legalString(QStringLiteral("imprint.vat.label"), locale()));
    }

private:
    QLabel *m_caption;
    QLabel *m_number;
};

// A caption line that follows the page's theme and locale.
class CaptionLine final : public LegalWidget
{
public:
    explicit CaptionLine(const QString &key)
        : m_key(key)
        , m_label(LegalStyle::wrappingLabel(this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        m_label->setFont(LegalStyle::font(TextStyle::Caption));
        layout->addWidget(m_label);
        watchEnvironment();
    }

protected:
    void applyEnvironment() override
    {
        LegalStyle::setColor(m_label, theme().textSecondary);
        LegalStyle::setText(m_label, legalString(m_key, locale()));
    }

private:
    QString m_key;
    QLabel *m_label;
};

LegalSection *makeSection(const QString &name, const QString &icon, const QString &titleKey, QWidget *content)
{
    auto *result = new LegalSection(icon, LocalizedText::key(titleKey), content);
    result->setObjectName(name);
    return result;
}

} // namespace

ImprintView::ImprintView(const LegalEntity &entity, const std::optional<QDate> &lastUpdated,
                         QWidget *disclaimerOverride, QWidget *parent)
    : LegalPage(QStringLiteral("imprint.title"), parent)
{
    setObjectName(QStringLiteral("imprintView"));
    addPart(new LegalPageHeader(QStringLiteral("scale.3d"), LocalizedText::key(QStringLiteral("imprint.header.tagline"))));

    addPart(makeSection(QStringLiteral("providerSection"), QStringLiteral("building.2.fill"), QStringLiteral("imprint.section.provider"),
                    new LegalAddressBlock(entity, true)));

    addPart(makeSection(QStringLiteral("contactSection"), QStringLiteral("envelope.fill"), QStringLiteral("legal.section.contact"),
                    column(16, {new LegalLinkRow(QStringLiteral("envelope.fill"), LocalizedText::key(QStringLiteral("legal.contact.email")),
                                                 entity.email, entity.emailURL()),
                                new LegalLinkRow(QStringLiteral("globe"), LocalizedText::key(QStringLiteral("legal.contact.website")),
                                                 entity.websiteDisplay, entity.website)})));

    if (entity.vatID) {
        addPart(makeSection(QStringLiteral("vatSection"), QStringLiteral("number.square.fill"), QStringLiteral("imprint.section.vat"),
                        new VatBlock(*entity.vatID)));
    }

    addPart(makeSection(QStringLiteral("responsibleSection"), QStringLiteral("person.text.rectangle.fill"),
                    QStringLiteral("imprint.section.responsible"),
                    column(8, {new CaptionLine(QStringLiteral("imprint.responsible.note")), LegalStyle::divider(),
                               new LegalAddressBlock(QStringList{entity.personName, entity.street, entity.city})})));

    addPart(makeSection(QStringLiteral("disclaimerSection"), QStringLiteral("exclamationmark.triangle.fill"),
                    QStringLiteral("imprint.section.disclaimer"),
                    disclaimerOverride ? disclaimerOverride : standardDisclaimer()));

    if (lastUpdated)
        addPart(new LegalLastUpdated(*lastUpdated));
    watchEnvironment();
}

LegalSection *ImprintView::section(const QString &objectName) const
{
    return findChild<LegalSection *>(objectName);
}

QWidget *ImprintView::standardDisclaimer()
{
    QList<QWidget *> items;
    for (const QString &block : {QStringLiteral("content"), QStringLiteral("links"), QStringLiteral("copyright")}) {
        if (!items.isEmpty())
            items << LegalStyle::divider();
        const QString prefix = QStringLiteral("imprint.disclaimer.") + block;
        items << new LegalTitledItem(LocalizedText::key(prefix + QStringLiteral(".title")),
                                     new LegalText(LocalizedText::key(prefix + QStringLiteral(".body"))));
    }
    QWidget *result = column(20, items);
    result->setObjectName(QStringLiteral("standardDisclaimer"));
    return result;
}
