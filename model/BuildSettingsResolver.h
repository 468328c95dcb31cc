#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// Build settings of one target in one configuration, looked up as the build would: later
// definitions win over earlier ones, "$(NAME)" and "${NAME}" are replaced by the setting's
// value, "$(inherited)" (and a setting naming itself) by the value defined below it.
class BuildSettingsResolver final
{
public:
    struct Definition
    {
        QString key;
        QString value;
        bool operator==(const Definition &) const = default;
    };

    // PRODUCT_NAME defaults to the target's name; TARGET_NAME is always it.
    explicit BuildSettingsResolver(const QString &targetName);

    // Each call adds definitions above all earlier ones.
    void add(const QString &key, const QString &value);
    void add(const QList<Definition> &definitions);
    // A build-settings dictionary of a project file: text values, lists joined by blanks.
    void add(const QVariantMap &settings);

    // True when anything above the defaults defines the key.
    bool defines(const QString &key) const;

    // The value with every reference it can resolve substituted. A reference to an undefined
    // setting, or with a modifier other than ":rfc1034identifier", stays as written; a chain
    // of references that loops or grows beyond reason gives nothing.
    std::optional<QString> value(const QString &key) const;

    // Letters and digits (ASCII), "-" and "." kept; every other character becomes "-".
    static QString rfc1034Identifier(const QString &text);

    // True when the text still holds "$(" or "${".
    static bool hasReference(const QString &text);

private:
    // Longer values than any setting a build uses; a reference chain that doubles at every
    // step stops here instead of filling the memory.
    static constexpr qsizetype maximumLength = 16 * 1024;
    static constexpr int maximumDepth = 64;

    struct Expansion;
    std::optional<QString> definitionValue(qsizetype index, Expansion &state, int depth) const;
    std::optional<QString> expand(const QString &text, const QString &key, qsizetype below, Expansion &state,
                                  int depth) const;
    std::optional<QString> reference(const QString &written, const QString &key, qsizetype below, Expansion &state,
                                     int depth) const;
    // The index of the topmost definition of `key` below `below`; -1 when there is none.
    qsizetype topmost(const QString &key, qsizetype below) const;

    QString m_targetName;
    QList<Definition> m_definitions; // lowest precedence first
    QHash<QString, QList<qsizetype>> m_index; // key → its definitions' indices, ascending
    qsizetype m_defaults = 0;        // how many of them are the built-in defaults
};
