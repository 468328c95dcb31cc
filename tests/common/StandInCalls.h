#pragma once

// Reading the call log the simulator stand-ins write to $VELORANCE_STANDIN_LOG, and the
// fixtures whose launches are checked there.

#include <BuildConfiguration.h>
#include <XcodeProject.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVariant>

// The arguments of the last call of `tool` whose arguments start with `prefix`; empty when
// there was none.
inline QStringList lastStandInCall(const QString &log, const QString &tool, const QStringList &prefix)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList found;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        const QStringList argv = record.value(QStringLiteral("argv")).toVariant().toStringList();
        if (record.value(QStringLiteral("tool")).toString() == tool && argv.mid(0, prefix.size()) == prefix)
            found = argv;
    }
    return found;
}

// The value that follows `option` in the arguments; empty when it is not there.
inline QString optionValue(const QStringList &argv, const QString &option)
{
    const qsizetype at = argv.indexOf(option);
    return at < 0 ? QString() : argv.value(at + 1);
}

// The folder of a project the launch tests build: tests/data/launch/<fixture>, else
// tests/data/xcode/<fixture>. The scan's tests take every project under tests/data/xcode; the
// shapes that only launches need lie apart.
inline QString launchFixtureFolder(const QString &fixture)
{
    const QString launch = QStringLiteral(VELORANCE_TEST_DATA_DIR "/launch/") + fixture;
    return QFileInfo::exists(launch) ? launch : QStringLiteral(VELORANCE_TEST_DATA_DIR "/xcode/") + fixture;
}

// A launch fixture as the scan lists it: the identifier it carries is the Release one.
inline XcodeProject launchFixtureProject(const QString &fixture)
{
    const QString folder = launchFixtureFolder(fixture);
    XcodeProject project;
    project.id = project.url = folder;
    project.name = fixture;
    project.xcodeprojPath = folder + u'/' + fixture + QStringLiteral(".xcodeproj");
    project.bundleIdentifier = QStringLiteral("org.example.") + fixture.toLower();
    return project;
}

// Projects of the launch fixtures built in a configuration: the configuration xcodebuild is given
// and the identifier launched. Ember names one identifier per configuration; Quarry has no
// Release or Debug, so its default configuration is built. Sable sets the Mac Catalyst switch
// DERIVE_MACCATALYST_PRODUCT_BUNDLE_IDENTIFIER beside its identifier; Orbit's first application
// target is a watch app, and its scheme runs the iOS app.
inline void addConfigurationBuiltRows()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<BuildConfiguration>("configuration");
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("launched");
    QTest::newRow("Debug identifier") << "Ember" << BuildConfiguration::Debug << "Debug" << "org.example.ember.debug";
    QTest::newRow("Release identifier") << "Ember" << BuildConfiguration::Release << "Release" << "org.example.ember";
    QTest::newRow("no Release: the default configuration")
        << "Quarry" << BuildConfiguration::Release << "Production" << "org.example.quarry";
    QTest::newRow("no Debug: the default configuration")
        << "Quarry" << BuildConfiguration::Debug << "Production" << "org.example.quarry";
    QTest::newRow("Mac Catalyst switch beside the identifier")
        << "Sable" << BuildConfiguration::Debug << "Debug" << "org.example.sable.debug";
    QTest::newRow("watch app first, the scheme runs the iOS app")
        << "Orbit" << BuildConfiguration::Debug << "Debug" << "org.example.orbit.debug";
}
