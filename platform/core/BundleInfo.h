#pragma once

#include <QString>

#include <optional>

// What the application knows about itself (name, version, build, identifier, rights
// notice). Set once from the build; tests replace it, also with empty values, to reach
// the fallbacks of the screens that read it.
struct BundleInfo
{
    std::optional<QString> name;          // e.g. "Velorance Studio"
    std::optional<QString> shortVersion;  // marketing version, e.g. "0.2.0"
    std::optional<QString> version;       // build number, e.g. "2"
    std::optional<QString> identifier;    // reverse-DNS identifier
    std::optional<QString> copyright;     // rights notice line

    static const BundleInfo &main();
    static void setMain(const BundleInfo &info);
    static BundleInfo fromBuild();
    static BundleInfo empty() { return {}; }
};
