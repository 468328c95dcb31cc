#pragma once

#include "Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

class QFile;

// A gettext message catalogue (a .mo file), read directly, so that what it holds does not
// depend on which locales the system has generated. Keeps the first form of each translated
// message; messages without a translation are left out.
class MessageCatalog final
{
public:
    MessageCatalog() = default;
    explicit MessageCatalog(QHash<QByteArray, QString> messages);

    // The catalogue in the bytes of a .mo file; a failure when they are not one.
    static Result<MessageCatalog> parse(const QByteArray &bytes);
    // The catalogue in a file; a failure when it cannot be read or is not a catalogue.
    static Result<MessageCatalog> read(const QString &path);
    // The same of a file already open for reading.
    static Result<MessageCatalog> read(QFile &file);

    // The translation of a message; empty when the catalogue has none.
    QString translate(const QByteArray &message) const;
    qsizetype size() const { return m_messages.size(); }
    bool isEmpty() const { return m_messages.isEmpty(); }
    // Takes the messages of `fallback` that this catalogue does not translate itself.
    void addFallback(const MessageCatalog &fallback);

private:
    QHash<QByteArray, QString> m_messages;
};
