#include "SimPlatform.h"

namespace SimPlatforms {

QString displayName(SimPlatform platform)
{
    switch (platform) {
    case SimPlatform::iOS: return QStringLiteral("iOS");
    case SimPlatform::visionOS: return QStringLiteral("visionOS");
    case SimPlatform::tvOS: return QStringLiteral("tvOS");
    case SimPlatform::watchOS: return QStringLiteral("watchOS");
    }
    return QStringLiteral("iOS");
}

} // namespace SimPlatforms
