#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <string>

// Writes JSON text straight from values, in the layout of QJsonDocument::Indented (four
// spaces per level, "key": value), without building a QJsonObject tree first. Keys are
// written in the order given: callers give them sorted.
class JsonTextWriter final
{
public:
    explicit JsonTextWriter(qsizetype reserve = 0);
    // Writes into `buffer` (emptied first, its capacity kept), so a caller that encodes again
    // and again can hand the same memory back with takeBuffer().
    explicit JsonTextWriter(std::string buffer);
    // A writer for one value that will stand inside `depth` open objects or arrays of another
    // document: its lines are indented for that place. Take its text with fragment().
    static JsonTextWriter atDepth(int depth, qsizetype reserve = 0);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // In an object: the key of the next value.
    void key(const QString &name);

    void value(const QString &text);
    void value(double number);
    void value(bool flag);
    // Text known to hold only printable ASCII that needs no escaping.
    void plainValue(QLatin1StringView text);
    // A value already written as JSON for this place (see atDepth).
    void rawValue(QByteArrayView json);

    // The finished document, ending in a line break.
    QByteArray finish();
    // The value written by an atDepth writer, without a line break.
    QByteArray fragment() const;
    qsizetype size() const { return qsizetype(m_out.size()); }
    // The buffer, for the next writer.
    std::string takeBuffer() { return std::move(m_out); }

private:
    struct Level
    {
        bool empty = true;
    };

    void beforeValue();
    void close(char bracket);
    void indent(qsizetype depth);
    void writeString(const QString &text);

    std::string m_out; // appending single characters here is much cheaper than to QByteArray
    QList<Level> m_levels;
    bool m_afterKey = false;
};
