#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Splits a byte stream into UTF-8 text lines. A line without its newline yet is carried
// over to the next chunk; a trailing carriage return is dropped.
class LineSplitter final
{
public:
    // The complete lines in the carried-over bytes plus `chunk`.
    QStringList feed(const QByteArray &chunk);
    // The carried-over partial line, if any, and forgets it.
    std::optional<QString> flush();

private:
    QByteArray m_partial;
};
