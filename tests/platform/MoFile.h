#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QtEndian>

// Message catalogues (.mo files) written for the tests, from their entries.
namespace MoFile {

using Entries = QList<QPair<QByteArray, QByteArray>>;

struct Options
{
    bool bigEndian = false;
    quint32 revision = 0;
};

// A .mo file as gettext's msgfmt lays it out: header, table of originals, table of
// translations, then the NUL-terminated strings.
inline QByteArray bytes(const Entries &entries, Options options = {})
{
    const auto word = [&](QByteArray &out, quint32 value) {
        char bytes[4];
        if (options.bigEndian)
            qToBigEndian(value, bytes);
        else
            qToLittleEndian(value, bytes);
        out.append(bytes, 4);
    };
    const quint32 count = quint32(entries.size());
    const quint32 originals = 28;
    const quint32 translations = originals + count * 8;
    quint32 offset = translations + count * 8;
    QByteArray head, originalTable, translationTable, strings;
    for (const auto &[original, translation] : entries) {
        word(originalTable, quint32(original.size()));
        word(originalTable, offset);
        strings += original + '\0';
        offset += quint32(original.size()) + 1;
    }
    for (const auto &[original, translation] : entries) {
        word(translationTable, quint32(translation.size()));
        word(translationTable, offset);
        strings += translation + '\0';
        offset += quint32(translation.size()) + 1;
    }
    for (const quint32 value : {0x950412deu, options.revision, count, originals, translations, 0u, 0u})
        word(head, value);
    return head + originalTable + translationTable + strings;
}

} // namespace MoFile
