#pragma once

#include <QByteArray>
#include <QString>

// The text files embedded from simulator/templates/ (recorder library, runner project …).
namespace SimulatorTemplates {
// The bytes of "templates/<relativePath>", e.g. "recorder/ctor.c"; empty when there is none.
QByteArray bytes(const QString &relativePath);
// The resource path of a template: ":/templates/<relativePath>".
QString resourcePath(const QString &relativePath);
}
