#pragma once

#include <QString>

enum class SimPlatform { iOS, visionOS, tvOS, watchOS };

namespace SimPlatforms {
QString displayName(SimPlatform platform); // "iOS", "visionOS", "tvOS", "watchOS"
}
