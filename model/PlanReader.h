#pragma once

#include "ScreenshotPlan.h"

#include <QByteArrayView>

#include <optional>

// Reads "shots.json" straight from its bytes into a plan, without the QJsonDocument tree
// in between (loading a large plan spends most of its time building and walking that tree).
// It takes only input it is sure of: strict JSON, well-formed UTF-8, every value of the
// type the plan wants, no key twice. For anything else it gives nothing and the caller
// decodes with Qt's reader, which then decides what the input means and words the error.
namespace PlanReader {

// The plan exactly as ScreenshotPlan::fromJson would give it (identifiers not yet made
// unique), or nothing when the input needs the general reader.
std::optional<ScreenshotPlan> read(QByteArrayView bytes);

} // namespace PlanReader
