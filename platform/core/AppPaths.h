#pragma once

#include <QString>

// Where the application keeps its own work folders ("Application Support" on the other
// platform): the user's data folder, or the temporary folder when that cannot be had.
namespace AppPaths {
// The user's data folder (e.g. ~/.local/share), or empty when it cannot be had.
QString applicationSupport();
// "<application support>/VeloranceStudio/<name>", or "<temp>/VeloranceStudio/<name>" as fallback.
QString workFolder(const QString &name);
// Tests point the application-support folder elsewhere; an empty path restores the default.
void overrideApplicationSupport(const QString &path);
}
