#include "AppWindows.h"

#include "AboutWindow.h"
#include "MainWindow.h"

#include <WindowRegistry.h>

namespace AppWindows {

void registerWindows(AppModel *model)
{
    WindowRegistry &registry = WindowRegistry::instance();
    registry.registerFactory(QStringLiteral("main"), [model] { return new MainWindow(model); });
    registry.registerFactory(QStringLiteral("about"), [] { return new AboutWindow; });
}

} // namespace AppWindows
