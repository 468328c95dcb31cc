#include "RunnerProject.h"

#include "ShotTestGenerator.h"
#include "SimulatorLocation.h"
#include "SimulatorTemplates.h"

#include <SystemErrorText.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <filesystem>
#include <system_error>

namespace RunnerProject {
namespace {

const QString appBundlePrefix = QStringLiteral("de.norvane.velorancestudio.");

QString templateText(const QString &path)
{
    return QString::fromUtf8(SimulatorTemplates::bytes(path));
}

QString filled(QString text, const QString &appName, const QString &testName)
{
    text.replace(QStringLiteral("{{APP_NAME}}"), appName);
    text.replace(QStringLiteral("{{TEST_NAME}}"), testName);
    text.replace(QStringLiteral("{{APP_BUNDLE_ID}}"), appBundlePrefix + appName);
    text.replace(QStringLiteral("{{TEST_BUNDLE_ID}}"), appBundlePrefix + testName);
    return text;
}

// The system's reason, then the path it concerns.
Status failureAt(const QString &reason, const QString &path)
{
    return Status::failure(QStringLiteral("%1 (%2)").arg(SystemErrorText::localized(reason), path));
}

Status makeFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()), error);
    // The number, not the message: the standard library words that in the process's locale.
    if (error)
        return failureAt(error.category() == std::generic_category() || error.category() == std::system_category()
                             ? SystemErrorText::of(error.value())
                             : QString::fromStdString(error.message()),
                         path);
    return Status::success();
}

Status writeIfChanged(const QString &path, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (const auto status = makeFolder(QFileInfo(path).absolutePath()); !status)
        return status;
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return Status::success();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failureAt(file.errorString(), path);
    return Status::success();
}

// The project file, scheme and host app shared by both runner projects.
Status writeSkeleton(const QString &folder, const QString &appName, const QString &testName,
                     const QString &testSource)
{
    const QString project = projectPath(folder, appName);
    const struct { QString path; QString text; } files[] = {
        {project + QStringLiteral("/project.pbxproj"),
         filled(templateText(QStringLiteral("runner/project.pbxproj")), appName, testName)},
        {project + QStringLiteral("/xcshareddata/xcschemes/") + testName + QStringLiteral(".xcscheme"),
         filled(templateText(QStringLiteral("runner/scheme.xcscheme")), appName, testName)},
        {folder + u'/' + appName + u'/' + appName + QStringLiteral("App.swift"),
         filled(templateText(QStringLiteral("runner/HostApp.swift")), appName, testName)},
        {folder + u'/' + testName + u'/' + testName + QStringLiteral(".swift"), testSource},
    };
    for (const auto &file : files) {
        if (const auto status = writeIfChanged(file.path, file.text); !status)
            return status;
    }
    return Status::success();
}

QString literalList(const QStringList &values)
{
    QStringList literals;
    for (const QString &value : values)
        literals.append(ShotTestGenerator::swiftStringLiteral(value));
    return literals.join(QStringLiteral(", "));
}

// An empty Swift dictionary literal needs its colon: "[:]".
QString literalDictionary(const QList<std::pair<QString, QString>> &entries)
{
    if (entries.isEmpty())
        return QStringLiteral(":");
    QStringList literals;
    for (const auto &[key, value] : entries) {
        literals.append(ShotTestGenerator::swiftStringLiteral(key) + QStringLiteral(": ")
                        + ShotTestGenerator::swiftStringLiteral(value));
    }
    return literals.join(QStringLiteral(", "));
}

// The coordinate argument of the location a shot runs with: its own, else the plan's.
std::optional<QString> shotLocation(const ScreenshotPlan &plan, int index)
{
    const Shot &shot = plan.shots.at(index);
    const std::optional<PlanLocation> location = shot.location ? shot.location : plan.location;
    if (!location)
        return std::nullopt;
    return SimulatorLocation::coordinateArgument(location->latitude, location->longitude);
}

QString shotBlock(const ScreenshotPlan &plan, int index)
{
    const Shot &shot = plan.shots.at(index);
    const QString indent = QStringLiteral("                ");
    QStringList lines;
    lines << QStringLiteral("            // Shot %1 von %2").arg(index + 1).arg(plan.shots.size());
    lines << QStringLiteral("            do {");
    const auto location = shotLocation(plan, index);
    const QString locationLiteral = location ? ShotTestGenerator::swiftStringLiteral(*location) : QStringLiteral("nil");
    lines << indent + QStringLiteral("let app = launchApp(bundleID, language: language, location: %1)")
                          .arg(locationLiteral);
    for (const ShotStepItem &item : shot.steps)
        lines << ShotTestGenerator::stepLines(item.step, indent);
    lines << indent + QStringLiteral("_ = app");
    lines << indent
            + QStringLiteral("try capture(language: language, index: %1, file: %2, folder: folder)")
                  .arg(index)
                  .arg(ShotTestGenerator::swiftStringLiteral(screenshotFileName(index, shot.name)));
    lines << QStringLiteral("            }");
    return lines.join(u'\n');
}

} // namespace

QString projectPath(const QString &folder, const QString &projectName)
{
    return folder + u'/' + projectName + QStringLiteral(".xcodeproj");
}

QString safePathComponent(const QString &name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        const bool unsafe = c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control;
        safe.append(unsafe ? QChar(u'_') : c);
    }
    if (safe.isEmpty() || safe.startsWith(u'.'))
        safe.prepend(u'_');
    return safe;
}

QString screenshotFileName(int index, const QString &shotName)
{
    // Long names are cut so that the file name stays within common file-system limits.
    return QStringLiteral("%1-%2.png")
        .arg(index + 1, 2, 10, QChar(u'0'))
        .arg(safePathComponent(shotName.left(120)));
}

QString screenshotTestSource(const ScreenshotPlan &plan)
{
    const QString testName = QString::fromUtf16(screenshotScheme);
    QString source = templateText(QStringLiteral("runner/ScreenshotTests.swift"));

    // A Swift dictionary literal that holds a key twice stops the test at its start, and a
    // hand-edited plan may list a language twice.
    QList<std::pair<QString, QString>> folders;
    QSet<QString> listed;
    for (const QString &language : plan.languages) {
        if (!listed.contains(language)) {
            listed.insert(language);
            folders.append({language, safePathComponent(language)});
        }
    }
    QList<std::pair<QString, QString>> environment;
    const auto launchEnvironment = plan.launchEnvironment();
    for (auto it = launchEnvironment.cbegin(); it != launchEnvironment.cend(); ++it)
        environment.append({it.key(), it.value()});
    QStringList arguments;
    for (const QString &argument : plan.resolvedLaunchArguments())
        arguments.append(argument);
    QStringList shots;
    for (int i = 0; i < plan.shots.size(); ++i)
        shots.append(shotBlock(plan, i));

    // Placeholders are replaced in this order so that no inserted value is scanned again.
    const QString helpers = ShotTestGenerator::stepHelperFunctions();
    const std::pair<QString, QString> replacements[] = {
        {QStringLiteral("{{STEP_HELPERS}}"), helpers},
        {QStringLiteral("{{TEST_NAME}}"), testName},
        {QStringLiteral("{{LANGUAGES}}"), literalList(plan.languages)},
        {QStringLiteral("{{LANGUAGE_FOLDERS}}"), literalDictionary(folders)},
        {QStringLiteral("{{ENVIRONMENT}}"), literalDictionary(environment)},
        {QStringLiteral("{{ARGUMENTS}}"), literalList(arguments)},
        {QStringLiteral("{{SHOTS}}"), shots.join(u'\n')},
    };
    QString result;
    qsizetype from = 0;
    while (true) {
        qsizetype best = -1;
        const std::pair<QString, QString> *hit = nullptr;
        for (const auto &replacement : replacements) {
            const qsizetype at = source.indexOf(replacement.first, from);
            if (at >= 0 && (best < 0 || at < best)) {
                best = at;
                hit = &replacement;
            }
        }
        if (!hit)
            break;
        result += QStringView(source).mid(from, best - from);
        result += hit->second;
        from = best + hit->first.size();
    }
    result += QStringView(source).mid(from);
    return result;
}

Status writeScreenshotRunner(const QString &folder, const ScreenshotPlan &plan)
{
    const QString appName = QString::fromUtf16(screenshotProjectName);
    const QString testName = QString::fromUtf16(screenshotScheme);
    if (const auto status = writeSkeleton(folder, appName, testName, screenshotTestSource(plan)); !status)
        return status;

    QStringList manifest;
    for (const QString &language : plan.languages)
        manifest << QStringLiteral("language\t%1\t%2").arg(language, safePathComponent(language));
    for (int i = 0; i < plan.shots.size(); ++i) {
        manifest << QStringLiteral("shot\t%1\t%2").arg(i).arg(screenshotFileName(i, plan.shots.at(i).name));
        if (const auto location = shotLocation(plan, i))
            manifest << QStringLiteral("location\t%1\t%2").arg(i).arg(*location);
    }
    return writeIfChanged(folder + u'/' + QString::fromUtf16(manifestFileName),
                          manifest.join(u'\n') + u'\n');
}

Status writeDriver(const QString &folder)
{
    const QString appName = QString::fromUtf16(driverProjectName);
    const QString testName = QString::fromUtf16(driverScheme);
    const QString source = filled(templateText(QStringLiteral("driver/DriverTests.swift")), appName, testName);
    return writeSkeleton(folder, appName, testName, source);
}

} // namespace RunnerProject
