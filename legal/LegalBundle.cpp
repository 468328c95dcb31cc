#include "LegalBundle.h"

#include "StringsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <dlfcn.h>

namespace {

constexpr auto stringsFileName = "Localizable.strings";

QString binaryFolderOfThisCode()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&binaryFolderOfThisCode), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
}

QString preferredLanguage(const QStringList &available)
{
    for (const QString &ui : QLocale::system().uiLanguages()) {
        const QString code = QLocale(ui).name().section(QLatin1Char('_'), 0, 0);
        if (available.contains(code))
            return code;
    }
    if (available.contains(QStringLiteral("en")))
        return QStringLiteral("en");
    return available.isEmpty() ? QString() : available.first();
}

} // namespace

std::optional<ResourceBundle> ResourceBundle::open(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return ResourceBundle(QDir(path).absolutePath());
}

bool ResourceBundle::isLanguageFolder() const
{
    return m_path.endsWith(QLatin1String(".lproj"));
}

QStringList ResourceBundle::languages() const
{
    QStringList codes;
    const QStringList folders = QDir(m_path).entryList({QStringLiteral("*.lproj")}, QDir::Dirs, QDir::Name);
    for (const QString &folder : folders)
        codes.append(folder.chopped(6));
    return codes;
}

std::optional<ResourceBundle> ResourceBundle::languageBundle(const QString &code) const
{
    if (code.isEmpty())
        return std::nullopt;
    return open(QDir(m_path).filePath(code + QStringLiteral(".lproj")));
}

const QHash<QString, QString> &ResourceBundle::table() const
{
    if (!m_table) {
        QString file;
        if (isLanguageFolder()) {
            file = QDir(m_path).filePath(QLatin1String(stringsFileName));
        } else {
            const QString language = preferredLanguage(languages());
            file = QDir(m_path).filePath(language + QStringLiteral(".lproj/") + QLatin1String(stringsFileName));
        }
        m_table = std::make_shared<QHash<QString, QString>>(StringsFile::load(file).value_or(QHash<QString, QString>()));
    }
    return *m_table;
}

QString ResourceBundle::localizedString(const QString &key) const
{
    return table().value(key, key);
}

QString ResourceBundle::localizedFormat(const QString &key, const QStringList &arguments) const
{
    return fillFormat(localizedString(key), arguments);
}

QString ResourceBundle::imagePath(const QString &assetName) const
{
    for (const char *suffix : {".svg", ".png"}) {
        const QString candidate = QDir(m_path).filePath(assetName + QLatin1String(suffix));
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

namespace LegalBundleLookup {

QStringList candidateFolders()
{
    const QString appFolder = QCoreApplication::applicationDirPath();
    const QString appName = QStringLiteral("velorance-studio");
    QStringList candidates;
    candidates << QDir(appFolder).filePath(QStringLiteral("../share/") + appName);
    const QString codeFolder = binaryFolderOfThisCode();
    candidates << (codeFolder.isEmpty() ? QString() : QDir(codeFolder).filePath(QStringLiteral("resources")));
    candidates << appFolder;
    return candidates;
}

std::optional<QString> locate(const QStringList &candidates)
{
    for (const QString &folder : candidates) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        const QString path = QDir(folder).filePath(QLatin1String(bundleName));
        if (ResourceBundle::open(path))
            return QDir(path).absolutePath();
    }
    return std::nullopt;
}

} // namespace LegalBundleLookup

const ResourceBundle &moduleBundle()
{
    static const ResourceBundle bundle = [] {
        const auto path = LegalBundleLookup::locate(LegalBundleLookup::candidateFolders());
        if (!path)
            qFatal("%s", LegalBundleLookup::missingBundleMessage);
        return *ResourceBundle::open(*path);
    }();
    return bundle;
}

QString legalLanguageCode(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return QStringLiteral("en");
    const QString code = QLocale::languageToCode(locale.language());
    return code.isEmpty() ? QStringLiteral("en") : code;
}

ResourceBundle legalBundle(const QLocale &locale)
{
    const ResourceBundle &module = moduleBundle();
    return module.languageBundle(legalLanguageCode(locale)).value_or(module);
}

QString fillFormat(const QString &format, const QStringList &arguments)
{
    static const QRegularExpression placeholder(QStringLiteral("%(?:(\\d+)\\$)?@"));
    QString out;
    qsizetype last = 0;
    int next = 0;
    auto it = placeholder.globalMatch(format);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += format.mid(last, m.capturedStart() - last);
        const int index = m.captured(1).isEmpty() ? next++ : m.captured(1).toInt() - 1;
        out += (index >= 0 && index < arguments.size()) ? arguments.at(index) : QString();
        last = m.capturedEnd();
    }
    out += format.mid(last);
    return out;
}
