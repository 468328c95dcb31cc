#include "LegalEntity.h"

namespace {

// The platform's URL parser decides: anything it rejects in strict mode is no link.
std::optional<QUrl> parsedUrl(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

LegalEntity::LegalEntity(QString companyName, QString personName, QString street, QString city,
                         std::optional<QString> country, QString email, std::optional<QString> privacyEmail,
                         QUrl website, QString websiteDisplay, std::optional<QUrl> personWebsite,
                         std::optional<QString> vatID)
    : companyName(std::move(companyName))
    , personName(std::move(personName))
    , street(std::move(street))
    , city(std::move(city))
    , country(std::move(country))
    , email(std::move(email))
    , privacyEmail(std::move(privacyEmail))
    , personWebsite(std::move(personWebsite))
    , website(std::move(website))
    , websiteDisplay(std::move(websiteDisplay))
    , vatID(std::move(vatID))
{
}

QUrl LegalEntity::emailURL() const
{
    return parsedUrl(QStringLiteral("mailto:") + email).value_or(website);
}

QString LegalEntity::effectivePrivacyEmail() const
{
    return privacyEmail.value_or(email);
}

QUrl LegalEntity::privacyEmailURL() const
{
    if (const auto url = parsedUrl(QStringLiteral("mailto:") + effectivePrivacyEmail()))
        return *url;
    return emailURL();
}

QString LegalEntity::norvaneBaseAddress()
{
    return QStringLiteral("https://norvane.example");
}

LegalEntity LegalEntity::norvane(const std::optional<QString> &source, const std::optional<QString> &vatID)
{
    const QString base = norvaneBaseAddress();
    const QString address = source ? base + QStringLiteral("?ref=app&source=") + *source : base;
    const QUrl website = parsedUrl(address).value_or(QUrl(base));

    return LegalEntity(QStringLiteral("Norvane"),
                       QStringLiteral("Velorance Team"),
                       QStringLiteral("Werkstraße 1"),
                       QStringLiteral("10115 Berlin"),
                       std::nullopt,
                       QStringLiteral("hallo@norvane.example"),
                       std::nullopt,
                       website,
                       QStringLiteral("norvane.example"),
                       std::nullopt,
                       vatID);
}
