#include <BuildSettingsResolver.h>

#include "HostileSettings.h"

#include <TimeBudget.h>

#include <QTest>

#include <optional>

namespace {

// "KEY=value" lines, lowest precedence first.
BuildSettingsResolver resolverOf(const QString &targetName, const QStringList &lines)
{
    BuildSettingsResolver resolver(targetName);
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        resolver.add(line.left(equals), line.mid(equals + 1));
    }
    return resolver;
}

} // namespace

class TestBuildSettingsResolver final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void value_data();
    void value();
    void settingsOfAProjectFile();
    void chainsThatGrowOrRunDeepEnd_data();
    void chainsThatGrowOrRunDeepEnd();
    void costlyExpansionsEndWithoutValue_data();
    void costlyExpansionsEndWithoutValue();
    void manyCheapReferencesStillResolve();
    void valuesWorkedOutServeLaterLookups();
};

void TestBuildSettingsResolver::value_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("definitions");
    QTest::addColumn<QString>("key");
    QTest::addColumn<std::optional<QString>>("expected");

    const auto id = [](const char *text) { return std::optional<QString>(QString::fromUtf8(text)); };
    const QString key = QStringLiteral("ID");

    QTest::newRow("literal") << "App" << QStringList{"ID=org.example.app"} << key << id("org.example.app");
    QTest::newRow("both bracket forms") << "App" << QStringList{"A=one", "B=two", "ID=$(A).${B}"} << key
                                        << id("one.two");
    QTest::newRow("named setting defined later") << "App" << QStringList{"ID=org.$(SUFFIX)", "SUFFIX=x"} << key
                                                 << id("org.x");
    QTest::newRow("PRODUCT_NAME defaults to the target") << "Tide" << QStringList{"ID=org.$(PRODUCT_NAME)"} << key
                                                         << id("org.Tide");
    QTest::newRow("TARGET_NAME is always the target") << "Tide" << QStringList{"TARGET_NAME=Other", "ID=$(TARGET_NAME)"}
                                                      << key << id("Tide");
    QTest::newRow("rfc1034identifier") << "Café & Co_2" << QStringList{"ID=org.${PRODUCT_NAME:rfc1034identifier}"}
                                       << key << id("org.Caf----Co-2");
    QTest::newRow("inherited") << "App" << QStringList{"ID=org.example", "ID=$(inherited).app"} << key
                               << id("org.example.app");
    QTest::newRow("inherited with nothing below is empty") << "App" << QStringList{"ID=$(inherited).app"} << key
                                                           << id(".app");
    QTest::newRow("naming itself reads the value below") << "App" << QStringList{"ID=org", "ID=$(ID).app"} << key
                                                         << id("org.app");
    QTest::newRow("inherited in a referenced setting") << "App" << QStringList{"P=org", "P=$(inherited).example", "ID=$(P).app"}
                                                       << key << id("org.example.app");
    QTest::newRow("nested reference") << "App" << QStringList{"STAGE=beta", "ID_beta=org.beta", "ID_prod=org", "ID=$(ID_$(STAGE))"}
                                      << key << id("org.beta");
    QTest::newRow("undefined is empty") << "App" << QStringList{"ID=org.$(TEAM_PREFIX).app"} << key << id("org..app");
    QTest::newRow("undefined prefix and suffix")
        << "App" << QStringList{"BUNDLE_ID_PREFIX=io.example", "ID=${BUNDLE_ID_PREFIX}.App${BUNDLE_ID_SUFFIX}"} << key
        << id("io.example.App");
    QTest::newRow("empty reference") << "App" << QStringList{"ID=https:/$()/example.org"} << key
                                     << id("https://example.org");
    QTest::newRow("bare name") << "App"
                               << QStringList{"PRODUCT_BUNDLE_IDENTIFIER_ROOT=io.example.app", "ID=$PRODUCT_BUNDLE_IDENTIFIER_ROOT"}
                               << key << id("io.example.app");
    QTest::newRow("bare name ends at the first other character")
        << "App" << QStringList{"ROOT=io.example", "V2=x", "ID=$ROOT.$V2-$TARGET_NAME"} << key << id("io.example.x-App");
    QTest::newRow("bare name naming itself") << "App" << QStringList{"ID=org", "ID=$ID.app", "ID=$inherited.x"} << key
                                             << id("org.app.x");
    QTest::newRow("dollar without a name stays") << "App" << QStringList{"ID=a$ b$-c$"} << key << id("a$ b$-c$");
    QTest::newRow("unknown modifier") << "App" << QStringList{"ID=org.$(PRODUCT_NAME:quote)"} << key
                                      << std::optional<QString>();
    QTest::newRow("unknown modifier after a known one") << "App" << QStringList{"ID=$(PRODUCT_NAME:lower:base)"} << key
                                                        << std::optional<QString>();
    QTest::newRow("lower and upper") << "My App" << QStringList{"ID=$(PRODUCT_NAME:lower)|${PRODUCT_NAME:upper}"} << key
                                     << id("my app|MY APP");
    QTest::newRow("identifier") << "2 Café-App" << QStringList{"ID=$(PRODUCT_NAME:identifier)"} << key
                                << id("__Caf__App");
    QTest::newRow("c99extidentifier keeps letters beyond ASCII") << "2 Café-App"
                                                                 << QStringList{"ID=$(PRODUCT_NAME:c99extidentifier)"}
                                                                 << key << id("__Café_App");
    QTest::newRow("modifiers left to right") << "Tide Pool" << QStringList{"ID=org.$(PRODUCT_NAME:lower:rfc1034identifier)"}
                                             << key << id("org.tide-pool");
    QTest::newRow("default when empty") << "App" << QStringList{"EMPTY=", "ID=$(EMPTY:default=org.example)$(NONE:default=.a:b)"}
                                        << key << id("org.example.a:b");
    QTest::newRow("default not taken when set") << "App" << QStringList{"SET=org", "ID=$(SET:default=other)"} << key
                                                << id("org");
    QTest::newRow("default resolves its references") << "App" << QStringList{"P=io", "ID=$(NONE:default=$(P).x)"} << key
                                                     << id("io.x");
    QTest::newRow("unclosed reference stays as written") << "App" << QStringList{"ID=org.$(PRODUCT_NAME"} << key
                                                         << id("org.$(PRODUCT_NAME");
    QTest::newRow("conditional definition is left out") << "App" << QStringList{"ID=org.app", "ID[sdk=iphoneos*]=org.device"}
                                                        << key << id("org.app");
    QTest::newRow("loop gives nothing") << "App" << QStringList{"A=$(B)", "B=x.$(A)", "ID=$(A)"} << key
                                        << std::optional<QString>();
    QTest::newRow("undefined key") << "App" << QStringList{"OTHER=x"} << key << std::optional<QString>();
}

void TestBuildSettingsResolver::value()
{
    QFETCH(QString, target);
    QFETCH(QStringList, definitions);
    QFETCH(QString, key);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(resolverOf(target, definitions).value(key), expected);
}

// A project file's dictionary: text values, lists joined, anything else left out; the
// built-in default does not count as a definition.
void TestBuildSettingsResolver::settingsOfAProjectFile()
{
    BuildSettingsResolver resolver(QStringLiteral("Atlas"));
    QVERIFY(!resolver.defines(QStringLiteral("PRODUCT_NAME")));
    QCOMPARE(resolver.value(QStringLiteral("PRODUCT_NAME")), QStringLiteral("Atlas"));
    resolver.add(QVariantMap{{QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER"), QStringLiteral("org.$(PRODUCT_NAME).$(FLAGS)")},
                             {QStringLiteral("FLAGS"), QStringList{QStringLiteral("$(inherited)"), QStringLiteral("x")}},
                             {QStringLiteral("NESTED"), QVariantMap{{QStringLiteral("a"), QStringLiteral("b")}}}});
    QVERIFY(resolver.defines(QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER")));
    QVERIFY(!resolver.defines(QStringLiteral("NESTED")));
    QCOMPARE(resolver.value(QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER")), QStringLiteral("org.Atlas. x"));
}

void TestBuildSettingsResolver::chainsThatGrowOrRunDeepEnd_data()
{
    QTest::addColumn<QStringList>("definitions");

    // Each level doubles the one below: 8 MiB of text at the top if nothing stopped it.
    QStringList doubling{QStringLiteral("L0=abcdefgh")};
    for (int level = 1; level <= 20; ++level)
        doubling << QStringLiteral("L%1=$(L%2)$(L%2)").arg(level).arg(level - 1);
    doubling << QStringLiteral("ID=$(L20)");
    QTest::newRow("doubling chain") << doubling;

    QStringList deep{QStringLiteral("D0=x")};
    for (int level = 1; level <= 5000; ++level)
        deep << QStringLiteral("D%1=$(D%2)").arg(level).arg(level - 1);
    deep << QStringLiteral("ID=$(D5000)");
    QTest::newRow("5,000 references deep") << deep;

    QStringList inherited;
    for (int level = 0; level < 5000; ++level)
        inherited << QStringLiteral("ID=$(inherited)x");
    QTest::newRow("5,000 inherited levels") << inherited;

    QTest::newRow("deeply nested brackets") << QStringList{QStringLiteral("ID=") + QString(100000, u'$').replace(u'$', QStringLiteral("$("))};
}

// Hostile settings must neither exhaust the memory or the stack nor hang the scan: they
// end without a value, in well under a second.
void TestBuildSettingsResolver::chainsThatGrowOrRunDeepEnd()
{
    QFETCH(QStringList, definitions);
    const BuildSettingsResolver resolver = resolverOf(QStringLiteral("App"), definitions);
    std::optional<QString> value;
    const double ms = TimeBudget::bestMs(QTest::currentDataTag(), [&] { value = resolver.value(QStringLiteral("ID")); });
    QVERIFY2(ms < TimeBudget::scaled(200), qPrintable(QString::number(ms)));
    QVERIFY(!value || BuildSettingsResolver::hasReference(*value));
}

namespace {

// The "KEY = value" lines of an .xcconfig text, as resolverOf takes them.
QStringList linesOf(const QByteArray &text)
{
    QStringList lines;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.isEmpty())
            lines << QString::fromUtf8(line).replace(QStringLiteral(" = "), QStringLiteral("="));
    }
    return lines;
}

} // namespace

void TestBuildSettingsResolver::costlyExpansionsEndWithoutValue_data()
{
    QTest::addColumn<QStringList>("definitions");

    QTest::newRow("lower and upper 100,000 times on 16,000 characters")
        << linesOf(HostileSettings::xcconfig(HostileSettings::modifierChain(100000), 16000));
    QTest::newRow("400,000 names of settings named through others")
        << linesOf(HostileSettings::xcconfig(HostileSettings::nestedReferences(400000)));
    QByteArray value;
    const QByteArray settings = HostileSettings::settingsThroughNames(60000, &value);
    QTest::newRow("60,000 long settings each named through")
        << linesOf(HostileSettings::xcconfig(value, 16000) + settings);
}

// Each shape stays within every size limit, yet would take seconds or gigabytes to work out
// in full: the lookup stops at its budget, and the value is absent, not cut short.
void TestBuildSettingsResolver::costlyExpansionsEndWithoutValue()
{
    QFETCH(QStringList, definitions);
    const BuildSettingsResolver resolver = resolverOf(QStringLiteral("App"), definitions);
    std::optional<QString> value = QStringLiteral("unset");
    const QString key = QStringLiteral("PRODUCT_BUNDLE_IDENTIFIER");
    const double ms = TimeBudget::bestMs(QTest::currentDataTag(), [&] { value = resolver.value(key); }, 1);
    QVERIFY2(ms < TimeBudget::scaled(200), qPrintable(QString::number(ms)));
    QCOMPARE(value, std::nullopt);
}

// Far more references than any real setting holds, yet within the budget: resolved in full.
void TestBuildSettingsResolver::manyCheapReferencesStillResolve()
{
    QStringList definitions{QStringLiteral("P=ab")};
    QString identifier = QStringLiteral("ID=");
    for (int n = 0; n < 1000; ++n)
        identifier += QStringLiteral("$(P:upper)$(NONE$(EMPTY))");
    definitions << identifier;
    QCOMPARE(resolverOf(QStringLiteral("App"), definitions).value(QStringLiteral("ID")),
             QStringLiteral("AB").repeated(1000));
}

// Values are kept from one lookup to the next, but never past an add that may change them,
// nor for lookups that see fewer definitions.
void TestBuildSettingsResolver::valuesWorkedOutServeLaterLookups()
{
    BuildSettingsResolver resolver = resolverOf(QStringLiteral("App"), {QStringLiteral("P=org"), QStringLiteral("ID=$(P).app")});
    QCOMPARE(resolver.value(QStringLiteral("ID")), QStringLiteral("org.app"));
    resolver.add(QList<BuildSettingsResolver::Definition>{{QStringLiteral("P"), QStringLiteral("$(inherited).example")}});
    QCOMPARE(resolver.value(QStringLiteral("ID")), QStringLiteral("org.example.app"));
    QCOMPARE(resolver.value(QStringLiteral("ID"), 1), QStringLiteral("org.app"));
    QCOMPARE(resolver.expanded(QStringLiteral("$(ID)")), QStringLiteral("org.example.app"));
}

QTEST_APPLESS_MAIN(TestBuildSettingsResolver)
#include "tst_buildsettingsresolver.moc"
