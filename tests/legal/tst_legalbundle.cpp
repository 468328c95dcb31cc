#include <LegalBundle.h>
#include <LegalEntity.h>
#include <StringsFile.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool copyTree(const QString &from, const QString &to)
{
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

struct ProbeResult
{
    int exitCode = -1;
    QString output;
};

ProbeResult runProbe(const QString &probePath)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(probePath, {});
    process.waitForFinished(20000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll()).trimmed()};
}

} // namespace

class LegalBundleTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mailLinksFallBack_data();
    void mailLinksFallBack();
    void presetTagsTheWebsite();
    void stringsFileReadsTheFormat();
    void lookupOrder();
    void missingBundleStopsTheProcess();
    void languageBundleFallsBackToTheModule();
    void formatsFillPlaceholders();
};

void LegalBundleTest::mailLinksFallBack_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("privacyEmail"); // "-" for none
    QTest::addColumn<QString>("expectedMail");
    QTest::addColumn<QString>("expectedPrivacy");

    QTest::newRow("both valid") << "info@example.org" << "privacy@example.org"
                                << "mailto:info@example.org" << "mailto:privacy@example.org";
    QTest::newRow("no privacy address") << "info@example.org" << "-"
                                        << "mailto:info@example.org" << "mailto:info@example.org";
    QTest::newRow("invalid email") << "not an address" << "-"
                                   << "https://example.org" << "https://example.org";
    QTest::newRow("invalid privacy address") << "info@example.org" << "priv acy@x"
                                             << "mailto:info@example.org" << "mailto:info@example.org";
}

void LegalBundleTest::mailLinksFallBack()
{
    QFETCH(QString, email);
    QFETCH(QString, privacyEmail);
    QFETCH(QString, expectedMail);
    QFETCH(QString, expectedPrivacy);

    LegalEntity entity(QStringLiteral("Firma"), QStringLiteral("Person"), QStringLiteral("Straße 1"),
                       QStringLiteral("12345 Ort"), std::nullopt, email,
                       privacyEmail == QLatin1String("-") ? std::nullopt : std::optional<QString>(privacyEmail),
                       QUrl(QStringLiteral("https://example.org")), QStringLiteral("example.org"));
    QCOMPARE(entity.emailURL().toString(), expectedMail);
    QCOMPARE(entity.privacyEmailURL().toString(), expectedPrivacy);
    QCOMPARE(entity.effectivePrivacyEmail(), privacyEmail == QLatin1String("-") ? email : privacyEmail);
}

void LegalBundleTest::presetTagsTheWebsite()
{
    const QString base = LegalEntity::norvaneBaseAddress();
    QCOMPARE(LegalEntity::norvane().website.toString(), base);
    QCOMPARE(LegalEntity::norvane(QStringLiteral("velorance")).website.toString(),
             base + QStringLiteral("?ref=app&source=velorance"));
    // A source that makes the address invalid leaves the base address.
    QCOMPARE(LegalEntity::norvane(QStringLiteral("a b")).website.toString(), base);

    const LegalEntity entity = LegalEntity::norvane(std::nullopt, QStringLiteral("DE123456789"));
    QCOMPARE(entity.vatID, std::optional<QString>(QStringLiteral("DE123456789")));
    QVERIFY(!entity.country);
    QVERIFY(!entity.privacyEmail);
    QVERIFY(!entity.personWebsite);
}

void LegalBundleTest::stringsFileReadsTheFormat()
{
    const QString text = QStringLiteral(
        "/* block\n comment */\n"
        "\"plain\" = \"Wert\";\n"
        "// line comment\n"
        "\"escaped\" = \"a \\\"quoted\\\" \\\\ line\\nnext\";\n"
        "\"unicode\" = \"\\U00e4\";\n"
        "\"umlaut\"=\"Größe\";\n"
        "\"broken\" = \"no end");
    QString error;
    const auto table = StringsFile::parse(text, &error);
    QCOMPARE(table.value(QStringLiteral("plain")), QStringLiteral("Wert"));
    QCOMPARE(table.value(QStringLiteral("escaped")), QStringLiteral("a \"quoted\" \\ line\nnext"));
    QCOMPARE(table.value(QStringLiteral("unicode")), QStringLiteral("ä"));
    QCOMPARE(table.value(QStringLiteral("umlaut")), QStringLiteral("Größe"));
    QVERIFY(!table.contains(QStringLiteral("broken")));
    QVERIFY(!error.isEmpty());
}

void LegalBundleTest::lookupOrder()
{
    QTemporaryDir dir;
    const QString appResources = dir.filePath(QStringLiteral("share/velorance-studio"));
    const QString moduleResources = dir.filePath(QStringLiteral("module/resources"));
    const QString appFolder = dir.filePath(QStringLiteral("bin"));
    const QString bundle = QLatin1String(LegalBundleLookup::bundleName);

    QVERIFY(!LegalBundleLookup::locate({appResources, moduleResources, appFolder}));

    QVERIFY(QDir().mkpath(QDir(appFolder).filePath(bundle)));
    QCOMPARE(*LegalBundleLookup::locate({appResources, moduleResources, appFolder}),
             QDir(appFolder).filePath(bundle));

    QVERIFY(QDir().mkpath(QDir(moduleResources).filePath(bundle)));
    QCOMPARE(*LegalBundleLookup::locate({appResources, moduleResources, appFolder}),
             QDir(moduleResources).filePath(bundle));

    QVERIFY(QDir().mkpath(QDir(appResources).filePath(bundle)));
    QCOMPARE(*LegalBundleLookup::locate({appResources, moduleResources, appFolder}),
             QDir(appResources).filePath(bundle));
}

void LegalBundleTest::missingBundleStopsTheProcess()
{
    QTemporaryDir dir;
    const QString binFolder = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(binFolder));
    const QString probe = QDir(binFolder).filePath(QStringLiteral("probe"));
    QVERIFY(QFile::copy(QStringLiteral(LEGAL_BUNDLE_PROBE), probe));
    QVERIFY(QFile::setPermissions(probe, QFile::permissions(QStringLiteral(LEGAL_BUNDLE_PROBE))));

    const ProbeResult missing = runProbe(probe);
    QVERIFY(missing.exitCode != 0);
    QVERIFY2(missing.output.contains(QLatin1String(LegalBundleLookup::missingBundleMessage)), qPrintable(missing.output));

    // Beside the executable: found third.
    const QString beside = QDir(binFolder).filePath(QLatin1String(LegalBundleLookup::bundleName));
    QVERIFY(copyTree(QStringLiteral(LEGAL_BUNDLE_SOURCE), beside));
    ProbeResult found = runProbe(probe);
    QCOMPARE(found.exitCode, 0);
    QCOMPARE(found.output, QDir(beside).absolutePath());

    // In the application's resource folder: found first.
    const QString resources = dir.filePath(QStringLiteral("share/velorance-studio/") + QLatin1String(LegalBundleLookup::bundleName));
    QVERIFY(copyTree(QStringLiteral(LEGAL_BUNDLE_SOURCE), resources));
    found = runProbe(probe);
    QCOMPARE(found.exitCode, 0);
    QCOMPARE(found.output, QDir(resources).absolutePath());
}

void LegalBundleTest::languageBundleFallsBackToTheModule()
{
    const ResourceBundle german = legalBundle(QLocale(QLocale::German, QLocale::Austria));
    QVERIFY(german.isLanguageFolder());
    QCOMPARE(german.localizedString(QStringLiteral("legal.country.germany")), QStringLiteral("Deutschland"));
    QCOMPARE(legalBundle(QLocale(QLocale::English, QLocale::UnitedStates)).localizedString(QStringLiteral("legal.country.germany")),
             QStringLiteral("Germany"));

    const ResourceBundle japanese = legalBundle(QLocale(QLocale::Japanese, QLocale::Japan));
    QVERIFY(!japanese.isLanguageFolder());
    QCOMPARE(japanese.path(), moduleBundle().path());
    QVERIFY(!japanese.localizedString(QStringLiteral("imprint.title")).startsWith(QLatin1String("imprint.")));

    QCOMPARE(legalLanguageCode(QLocale::c()), QStringLiteral("en"));
    QCOMPARE(legalBundle(QLocale(QLocale::German)).localizedString(QStringLiteral("no.such.key")), QStringLiteral("no.such.key"));
}

void LegalBundleTest::formatsFillPlaceholders()
{
    QCOMPARE(fillFormat(QStringLiteral("Entwickelt von %@"), {QStringLiteral("Norvane")}), QStringLiteral("Entwickelt von Norvane"));
    QCOMPARE(fillFormat(QStringLiteral("(%@ %@)"), {QStringLiteral("Build"), QStringLiteral("41")}), QStringLiteral("(Build 41)"));
    QCOMPARE(fillFormat(QStringLiteral("%2$@ – %1$@"), {QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("b – a"));
}

QTEST_GUILESS_MAIN(LegalBundleTest)
#include "tst_legalbundle.moc"
