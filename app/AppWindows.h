#pragma once

class AppModel;

// The application's two windows, registered by identifier: "main" (needs the model) and
// "about" (reads only the bundle information).
namespace AppWindows {
void registerWindows(AppModel *model);
}
