#pragma once

#include <QString>

// The application's version and build as the bundle states them; read anew each time.
namespace AppVersion {
QString marketing(); // "CFBundleShortVersionString", else "1.0"
QString build();     // "CFBundleVersion", else "1"
QString display();   // "2.3 (41)"
}
