#include "BundleInfo.h"

#ifndef VELORANCE_APP_NAME
#define VELORANCE_APP_NAME "Velorance Studio"
#endif
#ifndef VELORANCE_APP_VERSION
#define VELORANCE_APP_VERSION "0.2.0"
#endif
#ifndef VELORANCE_APP_BUILD
#define VELORANCE_APP_BUILD "2"
#endif
#ifndef VELORANCE_APP_IDENTIFIER
#define VELORANCE_APP_IDENTIFIER "de.norvane.velorancestudio"
#endif

namespace {
BundleInfo &storage()
{
    static BundleInfo info = BundleInfo::fromBuild();
    return info;
}
} // namespace

BundleInfo BundleInfo::fromBuild()
{
    BundleInfo info;
    info.name = QStringLiteral(VELORANCE_APP_NAME);
    info.shortVersion = QStringLiteral(VELORANCE_APP_VERSION);
    info.version = QStringLiteral(VELORANCE_APP_BUILD);
    info.identifier = QStringLiteral(VELORANCE_APP_IDENTIFIER);
    info.copyright = QStringLiteral("© 2026 Norvane. Alle Rechte vorbehalten.");
    return info;
}

const BundleInfo &BundleInfo::main()
{
    return storage();
}

void BundleInfo::setMain(const BundleInfo &info)
{
    storage() = info;
}
