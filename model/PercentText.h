#pragma once

#include <QString>

// A normalised coordinate (0…1) as a whole percentage: "84%" for 0.845. Formatted by C's
// printf, which rounds an exact half to even (12.5 -> "12"); Qt's formatting rounds it up.
// Every place that shows a step's point uses this, so one step never shows two numbers.
QString percentText(double fraction);
