#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Who is legally responsible for an application: shown by the app-info, imprint and
// privacy pages. A plain value; the host builds one and hands it to a page.
struct LegalEntity
{
    QString companyName;
    QString personName;
    QString street;
    QString city;                           // postal code and town, one line
    std::optional<QString> country;         // none: Germany
    QString email;
    std::optional<QString> privacyEmail;    // none: email
    std::optional<QUrl> personWebsite;
    QUrl website;
    QString websiteDisplay;
    std::optional<QString> vatID;

    LegalEntity() = default;
    LegalEntity(QString companyName, QString personName, QString street, QString city,
                std::optional<QString> country, QString email, std::optional<QString> privacyEmail,
                QUrl website, QString websiteDisplay, std::optional<QUrl> personWebsite = std::nullopt,
                std::optional<QString> vatID = std::nullopt);

    bool operator==(const LegalEntity &) const = default;

    // "mailto:" + email; the website when that is no valid URL.
    QUrl emailURL() const;
    QString effectivePrivacyEmail() const;
    // "mailto:" + effectivePrivacyEmail; emailURL when that is no valid URL.
    QUrl privacyEmailURL() const;

    // The maker's own entity; `source` tags the website link ("?ref=app&source=<source>").
    static LegalEntity norvane(const std::optional<QString> &source = std::nullopt,
                               const std::optional<QString> &vatID = std::nullopt);
    static QString norvaneBaseAddress();
};
