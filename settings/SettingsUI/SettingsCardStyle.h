#pragma once

// Which surface an accordion card is drawn on.
enum class SettingsCardStyle { Auto, Glass, Legacy };

namespace SettingsCardStyles {
// Glass only where the system offers it: `legacy` never, `auto` and `glass` only then.
bool usesGlassLayout(SettingsCardStyle style, bool osSupportsGlass);
// This platform has no glass material.
bool systemSupportsGlass();
}
