#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A resource folder of the legal pages: "NorKit_LegalPages.bundle" with one
// "<language>.lproj/Localizable.strings" per language and the image assets, or one of
// its language folders.
class ResourceBundle final
{
public:
    // Opens the folder when it exists.
    static std::optional<ResourceBundle> open(const QString &path);

    QString path() const { return m_path; }
    bool isLanguageFolder() const;
    QStringList languages() const;                 // codes of the "<code>.lproj" folders inside
    // The "<code>.lproj" folder inside, when there is one.
    std::optional<ResourceBundle> languageBundle(const QString &code) const;

    // The text of a key; the key itself when the table has none. The bundle root answers
    // from the language the user prefers among its languages ("en" when none fits).
    QString localizedString(const QString &key) const;
    // A localised format with "%@" (or "%1$@", "%2$@") filled in order.
    QString localizedFormat(const QString &key, const QStringList &arguments) const;
    // The file of an image asset ("<name>.svg" or "<name>.png"), or empty.
    QString imagePath(const QString &assetName) const;

private:
    explicit ResourceBundle(QString path) : m_path(std::move(path)) {}
    const QHash<QString, QString> &table() const;

    QString m_path;
    mutable std::shared_ptr<QHash<QString, QString>> m_table;
};

namespace LegalBundleLookup {
constexpr auto bundleName = "NorKit_LegalPages.bundle";
constexpr auto missingBundleMessage = "unable to find bundle named NorKit_LegalPages";

// The places searched, in order: the application's resource folder, the resource folder
// of the binary holding this code, the application's own folder.
QStringList candidateFolders();
// The first candidate that exists and holds the bundle; nothing when none does.
std::optional<QString> locate(const QStringList &candidates);
}

// The module's resource bundle, located once; stops the process when it cannot be found.
const ResourceBundle &moduleBundle();
// The bundle every localisation key is read from for a locale: its language's folder,
// or the module bundle itself when that language has none.
ResourceBundle legalBundle(const QLocale &locale);
// The language code legalBundle uses ("en" for a locale without one).
QString legalLanguageCode(const QLocale &locale);

// Fills "%@" / "%n$@" placeholders in order.
QString fillFormat(const QString &format, const QStringList &arguments);
