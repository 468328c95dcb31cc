#pragma once

#include <QByteArray>
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

    // The finished document, ending in a line break.
    QByteArray finish();

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
