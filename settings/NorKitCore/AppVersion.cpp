#include "AppVersion.h"

#include <BundleInfo.h>

namespace AppVersion {

QString marketing()
{
    return BundleInfo::main().shortVersion.value_or(QStringLiteral("1.0"));
}

QString build()
{
    return BundleInfo::main().version.value_or(QStringLiteral("1"));
}

QString display()
{
    return QStringLiteral("%1 (%2)").arg(marketing(), build());
}

} // namespace AppVersion
