#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

// Build settings of one target in one configuration, looked up as the build would: later
// definitions win over earlier ones; "$(NAME)", "${NAME}" and "$NAME" are replaced by the
// setting's value (empty when nothing defines it), "$(inherited)" (and a setting naming
// itself) by the value defined below it. Values worked out are kept until the next add, so a
// setting is expanded once however often it is asked for: one resolver serves one thread.
class BuildSettingsResolver final
{
public:
    struct Definition
    {
        QString key;
        QString value;
        bool operator==(const Definition &) const = default;
    };

    // Definitions from one source (an .xcconfig with its includes, a configuration's
    // settings), indexed by key. Immutable once made, so the resolvers of every configuration
    // of a scan share it instead of copying it.
    class Level final
    {
    public:
        explicit Level(QList<Definition> definitions = {});
        // A build-settings dictionary of a project file: text values, lists joined by blanks.
        explicit Level(const QVariantMap &settings);

        const QList<Definition> &definitions() const { return m_definitions; }
        bool defines(const QString &key) const { return m_index.contains(key); }
        // The index of the last definition of `key` before `below`; -1 when there is none.
        qsizetype last(const QString &key, qsizetype below) const;

    private:
        friend class BuildSettingsResolver;
        void append(const QString &key, const QString &value);

        QList<Definition> m_definitions;
        QHash<QString, QList<qsizetype>> m_index; // key → its definitions' indices, ascending
    };
    using SharedLevel = std::shared_ptr<const Level>;

    // PRODUCT_NAME defaults to the target's name; TARGET_NAME is always it. `defaults` lie
    // above that and below everything added; they count as defined by nobody.
    explicit BuildSettingsResolver(const QString &targetName, const QList<Definition> &defaults = {});
    // Moved, never copied: single adds go into a level of its own.
    BuildSettingsResolver(BuildSettingsResolver &&) = default;
    BuildSettingsResolver &operator=(BuildSettingsResolver &&) = default;
    BuildSettingsResolver(const BuildSettingsResolver &) = delete;
    BuildSettingsResolver &operator=(const BuildSettingsResolver &) = delete;

    // Each call adds definitions above all earlier ones.
    void add(const QString &key, const QString &value);
    void add(const QList<Definition> &definitions);
    void add(const QVariantMap &settings);
    void add(SharedLevel level);

    // True when anything above the defaults defines the key.
    bool defines(const QString &key) const;
    // The number of levels, the defaults included (level 0); each add of a list, a dictionary
    // or a shared level makes one, consecutive single adds share one.
    qsizetype levelCount() const { return m_levels.size(); }
    bool levelDefines(qsizetype level, const QString &key) const;

    // The value with every reference substituted; nothing when the key is not defined, or when
    // a reference loops, names an unknown modifier, the value grows beyond reason or working
    // it out takes more steps or produces more text than any real setting needs.
    // Modifiers: ":rfc1034identifier", ":c99extidentifier", ":identifier", ":lower", ":upper",
    // ":default=VALUE" (VALUE when the value is empty), applied left to right.
    std::optional<QString> value(const QString &key) const;
    // The value as the levels up to and including `level` give it.
    std::optional<QString> value(const QString &key, qsizetype level) const;
    // Any text (an Info.plist value, say) with its references substituted from all levels.
    std::optional<QString> expanded(const QString &text) const;

    // Letters and digits (ASCII), "-" and "." kept; every other character becomes "-".
    static QString rfc1034Identifier(const QString &text);

    // True when the text still holds "$(" or "${".
    static bool hasReference(const QString &text);

private:
    // Longer values than any setting a build uses; a reference chain that doubles at every
    // step stops here instead of filling the memory.
    static constexpr qsizetype maximumLength = 16 * 1024;
    static constexpr int maximumDepth = 64;
    // What one lookup may do: references and modifiers applied, characters put together on
    // the way. Real settings take a few dozen steps; a hostile value that repeats cheap
    // references or modifiers, or names many long settings, ends here.
    static constexpr int maximumSteps = 10000;
    static constexpr qsizetype maximumProduced = 64 * maximumLength;

    struct Expansion;
    const Definition &definition(qsizetype index) const;
    std::optional<QString> definitionValue(qsizetype index, Expansion &state, int depth) const;
    std::optional<QString> expand(const QString &text, const QString &key, qsizetype below, Expansion &state,
                                  int depth) const;
    std::optional<QString> reference(QStringView name, const QString &key, qsizetype below, Expansion &state,
                                     int depth) const;
    // The index of the topmost definition of `key` below `below`; -1 when there is none.
    qsizetype topmost(const QString &key, qsizetype below) const;
    qsizetype size() const;
    qsizetype levelEnd(qsizetype level) const;

    QString m_targetName;
    QList<SharedLevel> m_levels;          // lowest precedence first
    QList<qsizetype> m_offsets;           // each level's first index
    std::shared_ptr<Level> m_open;        // the top level while single adds go into it
    // Values of definitions worked out so far, by the end of the definitions that references
    // see and by index; only complete ones, which no other lookup could make differ.
    mutable QHash<qsizetype, QHash<qsizetype, QString>> m_known;
};
