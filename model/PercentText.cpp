#include "PercentText.h"

#include <cstdio>

QString percentText(double fraction)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f%%", fraction * 100.0);
    return QString::fromLatin1(text);
}
