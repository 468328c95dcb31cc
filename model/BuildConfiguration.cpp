#include "BuildConfiguration.h"

namespace BuildConfigurations {

QString rawValue(BuildConfiguration configuration)
{
    return configuration == BuildConfiguration::Debug ? QStringLiteral("debug") : QStringLiteral("release");
}

std::optional<BuildConfiguration> fromRawValue(const QString &raw)
{
    if (raw == QLatin1String("release"))
        return BuildConfiguration::Release;
    if (raw == QLatin1String("debug"))
        return BuildConfiguration::Debug;
    return std::nullopt;
}

QString xcodeName(BuildConfiguration configuration)
{
    return configuration == BuildConfiguration::Debug ? QStringLiteral("Debug") : QStringLiteral("Release");
}

} // namespace BuildConfigurations
