#pragma once

#include <QString>
#include <QUuid>

#include <optional>

namespace Uuid {
// A new random (version 4) identifier.
QUuid make();
// Canonical text: 36 characters, upper-case hexadecimal with hyphens, no braces.
QString text(const QUuid &id);
// Reads exactly the canonical form (either case); anything else gives nothing.
std::optional<QUuid> parse(const QString &text);
}
