#pragma once

#include <QString>

#include <optional>

// The configuration simulator builds use; cases in this order.
enum class BuildConfiguration { Release, Debug };

namespace BuildConfigurations {
QString rawValue(BuildConfiguration configuration);   // "release", "debug"
std::optional<BuildConfiguration> fromRawValue(const QString &raw);
// The xcodebuild configuration name: "Release" or "Debug".
QString xcodeName(BuildConfiguration configuration);
}
