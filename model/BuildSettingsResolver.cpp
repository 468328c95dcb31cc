#include "BuildSettingsResolver.h"

#include <QSet>

#include <algorithm>

namespace {

const QString targetNameKey = QStringLiteral("TARGET_NAME");
const QString inheritedName = QStringLiteral("inherited");
const QString rfc1034Modifier = QStringLiteral("rfc1034identifier");

bool isOpening(const QString &text, qsizetype at)
{
    return at + 1 < text.size() && text.at(at) == QLatin1Char('$')
        && (text.at(at + 1) == QLatin1Char('(') || text.at(at + 1) == QLatin1Char('{'));
}

QChar closing(QChar opening)
{
    return opening == QLatin1Char('(') ? QLatin1Char(')') : QLatin1Char('}');
}

// The index of the bracket that closes the reference opened at `at` ("$(" or "${"),
// references nested in it skipped; -1 when it is never closed.
qsizetype referenceEnd(const QString &text, qsizetype at)
{
    QList<QChar> expected{closing(text.at(at + 1))};
    for (qsizetype i = at + 2; i < text.size(); ++i) {
        if (isOpening(text, i)) {
            expected.append(closing(text.at(i + 1)));
            ++i;
        } else if (text.at(i) == expected.last()) {
            expected.removeLast();
            if (expected.isEmpty())
                return i;
        }
    }
    return -1;
}

} // namespace

// What one lookup has worked out so far: each definition is expanded once, and a definition
// met again while it is being expanded is a loop.
struct BuildSettingsResolver::Expansion
{
    QHash<qsizetype, std::optional<QString>> done;
    QSet<qsizetype> active;
};

BuildSettingsResolver::BuildSettingsResolver(const QString &targetName) : m_targetName(targetName)
{
    add(QStringLiteral("PRODUCT_NAME"), QStringLiteral("$(TARGET_NAME)"));
    m_defaults = m_definitions.size();
}

void BuildSettingsResolver::add(const QString &key, const QString &value)
{
    // A conditional setting ("KEY[sdk=…]") holds for some builds only; none is assumed.
    if (key.isEmpty() || key.contains(QLatin1Char('[')))
        return;
    m_index[key].append(m_definitions.size());
    m_definitions.append({key, value});
}

void BuildSettingsResolver::add(const QList<Definition> &definitions)
{
    for (const Definition &definition : definitions)
        add(definition.key, definition.value);
}

void BuildSettingsResolver::add(const QVariantMap &settings)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        if (it->typeId() == QMetaType::QString)
            add(it.key(), it->toString());
        else if (it->typeId() == QMetaType::QVariantList || it->typeId() == QMetaType::QStringList)
            add(it.key(), it->toStringList().join(QLatin1Char(' ')));
    }
}

bool BuildSettingsResolver::defines(const QString &key) const
{
    const auto it = m_index.constFind(key);
    return it != m_index.cend() && it->last() >= m_defaults;
}

std::optional<QString> BuildSettingsResolver::value(const QString &key) const
{
    if (key == targetNameKey)
        return m_targetName;
    const qsizetype index = topmost(key, m_definitions.size());
    if (index < 0)
        return std::nullopt;
    Expansion state;
    return definitionValue(index, state, 0);
}

QString BuildSettingsResolver::rfc1034Identifier(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        const bool kept = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-'
            || u == '.';
        if (!kept)
            c = QLatin1Char('-');
    }
    return result;
}

bool BuildSettingsResolver::hasReference(const QString &text)
{
    return text.contains(QLatin1String("$(")) || text.contains(QLatin1String("${"));
}

qsizetype BuildSettingsResolver::topmost(const QString &key, qsizetype below) const
{
    const auto it = m_index.constFind(key);
    if (it == m_index.cend())
        return -1;
    // Indices are ascending: the last one under `below`.
    const auto after = std::lower_bound(it->cbegin(), it->cend(), below);
    return after == it->cbegin() ? -1 : *(after - 1);
}

std::optional<QString> BuildSettingsResolver::definitionValue(qsizetype index, Expansion &state, int depth) const
{
    if (const auto known = state.done.constFind(index); known != state.done.cend())
        return *known;
    if (state.active.contains(index) || depth > maximumDepth)
        return std::nullopt;
    state.active.insert(index);
    const Definition &definition = m_definitions.at(index);
    const auto result = expand(definition.value, definition.key, index, state, depth + 1);
    state.active.remove(index);
    state.done.insert(index, result);
    return result;
}

std::optional<QString> BuildSettingsResolver::expand(const QString &text, const QString &key, qsizetype below,
                                                     Expansion &state, int depth) const
{
    if (depth > maximumDepth)
        return std::nullopt;
    QString result;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype at = from;
        while (at < text.size() && !isOpening(text, at))
            ++at;
        result += QStringView(text).sliced(from, at - from);
        if (at >= text.size())
            break;
        const qsizetype end = referenceEnd(text, at);
        if (end < 0) {
            // Never closed: the rest stays as written (and the value counts as unresolved).
            result += QStringView(text).sliced(at);
            break;
        }
        const auto substituted = reference(text.mid(at, end - at + 1), key, below, state, depth);
        if (!substituted)
            return std::nullopt;
        result += *substituted;
        if (result.size() > maximumLength)
            return std::nullopt;
        from = end + 1;
    }
    return result;
}

// The text a reference ("$(…)" or "${…}") stands for, or the reference as written when it
// cannot be resolved; nothing when resolving it loops or runs too deep.
std::optional<QString> BuildSettingsResolver::reference(const QString &written, const QString &key, qsizetype below,
                                                        Expansion &state, int depth) const
{
    // "$(APP_$(STAGE))": the inner references first.
    const auto name = expand(written.mid(2, written.size() - 3), key, below, state, depth + 1);
    if (!name)
        return std::nullopt;
    if (hasReference(*name))
        return written;
    QStringList parts = name->split(QLatin1Char(':'));
    const QString setting = parts.takeFirst();
    if (!std::all_of(parts.cbegin(), parts.cend(), [](const QString &modifier) { return modifier == rfc1034Modifier; }))
        return written;

    QString value;
    if (setting == targetNameKey) {
        value = m_targetName;
    } else {
        const bool inherited = setting == inheritedName || setting == key;
        const qsizetype index = topmost(inherited ? key : setting, inherited ? below : m_definitions.size());
        if (index < 0 && !inherited)
            return written;
        if (index >= 0) {
            const auto found = definitionValue(index, state, depth + 1);
            if (!found)
                return std::nullopt;
            value = *found;
        }
    }
    return parts.isEmpty() ? value : rfc1034Identifier(value);
}
