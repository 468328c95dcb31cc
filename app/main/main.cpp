#include <AppModel.h>
#include <AppStyle.h>
#include <AppWindows.h>
#include <BundleInfo.h>
#include <ProjectFile.h>
#include <QtTranslations.h>
#include <WindowRegistry.h>

#include <QApplication>

#if __has_include(<SimulatorLaunch.h>) && __has_include(<SimulatorLocation.h>)
#include <SimulatorLaunch.h>
#include <SimulatorLocation.h>
#define VELORANCE_HAS_SIMULATOR 1
#endif

namespace {

// Tool paths the demo script and tests put in place of the real Xcode tools.
void applyToolOverrides()
{
#ifdef VELORANCE_HAS_SIMULATOR
    const QString xcrun = qEnvironmentVariable("VELORANCE_TOOL_XCRUN");
    if (!xcrun.isEmpty())
        SimulatorLocation::setXcrunPath(xcrun);
    const QString xcodeSelect = qEnvironmentVariable("VELORANCE_TOOL_XCODE_SELECT");
    const QString open = qEnvironmentVariable("VELORANCE_TOOL_OPEN");
    if (!xcodeSelect.isEmpty() || !open.isEmpty())
        SimulatorLaunch::setToolPaths(xcodeSelect.isEmpty() ? QStringLiteral("/usr/bin/xcode-select") : xcodeSelect,
                                      open.isEmpty() ? QStringLiteral("/usr/bin/open") : open);
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    // A save beyond the file-size limit must fail like any other write, not end the program.
    ProjectFile::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    const BundleInfo &bundle = BundleInfo::main();
    QApplication::setApplicationName(bundle.name.value_or(QStringLiteral("Velorance Studio")));
    QApplication::setApplicationVersion(bundle.shortVersion.value_or(QStringLiteral("0.2.0")));
    AppStyle::install();
    // The interface is German, and so are Qt's own dialogs and context menus.
    if (const Status translations = QtTranslations::install(); !translations)
        qWarning("%s", qPrintable(translations.error()));
    QApplication::setQuitOnLastWindowClosed(true);

    applyToolOverrides();

    const bool demo = QApplication::arguments().contains(QStringLiteral("--demo"));
    AppModel model(demo);
    AppWindows::registerWindows(&model);
    WindowRegistry::instance().open(QStringLiteral("main"));
    return app.exec();
}
