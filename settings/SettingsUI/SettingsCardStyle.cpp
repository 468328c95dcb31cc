#include "SettingsCardStyle.h"

namespace SettingsCardStyles {

bool usesGlassLayout(SettingsCardStyle style, bool osSupportsGlass)
{
    if (style == SettingsCardStyle::Legacy)
        return false;
    return osSupportsGlass;
}

bool systemSupportsGlass()
{
    return false;
}

} // namespace SettingsCardStyles
