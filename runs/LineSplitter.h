#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Splits a byte stream into UTF-8 text lines. A line without its newline yet is carried
// over to the next chunk; a trailing carriage return is dropped. A line longer than
// maxLineBytes is delivered as soon as it passes the cap, cut there (never inside a
// character), and the rest of it up to its newline is dropped: output without newlines
// cannot grow memory without bound.
class LineSplitter final
{
public:
    static constexpr qsizetype maxLineBytes = 64 * 1024;

    // The complete lines in the carried-over bytes plus `chunk`.
    QStringList feed(const QByteArray &chunk);
    // The carried-over partial line, if any, and forgets it.
    std::optional<QString> flush();

private:
    QByteArray m_partial;
    bool m_skippingRest = false;   // the current line went out cut; drop bytes up to its newline
};
