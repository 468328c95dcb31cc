#include "BuildSettingsResolver.h"

#include <QSet>

#include <algorithm>

namespace {

const QString targetNameKey = QStringLiteral("TARGET_NAME");
const QString inheritedName = QStringLiteral("inherited");
const QLatin1String defaultModifier("default=");

bool isNameChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

bool isBracketOpening(const QString &text, qsizetype at)
{
    return at + 1 < text.size() && text.at(at) == QLatin1Char('$')
        && (text.at(at + 1) == QLatin1Char('(') || text.at(at + 1) == QLatin1Char('{'));
}

// "$(", "${" or "$NAME" starts at `at`.
bool isReferenceStart(const QString &text, qsizetype at)
{
    return isBracketOpening(text, at) || (at + 1 < text.size() && text.at(at) == QLatin1Char('$') && isNameChar(text.at(at + 1)));
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
        if (isBracketOpening(text, i)) {
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

// ":identifier" and ":c99extidentifier": what a C identifier cannot hold becomes "_", a
// leading digit too; the extended form keeps letters and digits beyond ASCII.
QString cIdentifier(const QString &text, bool extended)
{
    QString result = text;
    for (QChar &c : result) {
        if (!isNameChar(c) && !(extended && c.unicode() > 0x7f && c.isLetterOrNumber()))
            c = QLatin1Char('_');
    }
    if (!result.isEmpty() && result.front().isDigit())
        result.front() = QLatin1Char('_');
    return result;
}

// What one lookup may still do; once spent, everything still being worked out is absent.
struct Budget
{
    int steps = 0;
    qsizetype produced = 0;
    int maximumSteps = 0;
    qsizetype maximumProduced = 0;

    // Counts one step that puts `characters` together; false once past either cap.
    bool spend(qsizetype characters)
    {
        ++steps;
        produced += characters;
        return !spent();
    }
    bool spent() const { return steps > maximumSteps || produced > maximumProduced; }
};

// The value with the modifiers applied left to right; nothing for an unknown modifier or once
// the budget is spent. The text after "default=" is the default, colons included.
std::optional<QString> modified(QString value, QStringView modifiers, Budget &budget)
{
    while (!modifiers.isEmpty()) {
        if (modifiers.startsWith(defaultModifier)) {
            if (value.isEmpty())
                value = modifiers.sliced(defaultModifier.size()).toString();
            break;
        }
        const qsizetype colon = modifiers.indexOf(QLatin1Char(':'));
        const QStringView modifier = colon < 0 ? modifiers : modifiers.first(colon);
        modifiers = colon < 0 ? QStringView() : modifiers.sliced(colon + 1);
        if (!budget.spend(value.size()))
            return std::nullopt;
        if (modifier == QLatin1String("rfc1034identifier"))
            value = BuildSettingsResolver::rfc1034Identifier(value);
        else if (modifier == QLatin1String("c99extidentifier"))
            value = cIdentifier(value, true);
        else if (modifier == QLatin1String("identifier"))
            value = cIdentifier(value, false);
        else if (modifier == QLatin1String("lower"))
            value = value.toLower();
        else if (modifier == QLatin1String("upper"))
            value = value.toUpper();
        else
            return std::nullopt;
    }
    return value;
}

} // namespace

BuildSettingsResolver::Level::Level(QList<Definition> definitions)
{
    m_definitions.reserve(definitions.size());
    for (const Definition &definition : definitions)
        append(definition.key, definition.value);
}

BuildSettingsResolver::Level::Level(const QVariantMap &settings)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        if (it->typeId() == QMetaType::QString)
            append(it.key(), it->toString());
        else if (it->typeId() == QMetaType::QVariantList || it->typeId() == QMetaType::QStringList)
            append(it.key(), it->toStringList().join(QLatin1Char(' ')));
    }
}

void BuildSettingsResolver::Level::append(const QString &key, const QString &value)
{
    // A conditional setting ("KEY[sdk=…]") holds for some builds only; none is assumed.
    if (key.isEmpty() || key.contains(QLatin1Char('[')))
        return;
    m_index[key].append(m_definitions.size());
    m_definitions.append({key, value});
}

qsizetype BuildSettingsResolver::Level::last(const QString &key, qsizetype below) const
{
    const auto it = m_index.constFind(key);
    if (it == m_index.cend())
        return -1;
    // Indices are ascending: the last one under `below`.
    const auto after = std::lower_bound(it->cbegin(), it->cend(), below);
    return after == it->cbegin() ? -1 : *(after - 1);
}

// What one lookup has worked out so far: each definition is expanded once, and a definition
// met again while it is being expanded is a loop. References see the definitions below `end`;
// `known` holds the complete values earlier lookups with that end worked out.
struct BuildSettingsResolver::Expansion
{
    qsizetype end = 0;
    QHash<qsizetype, QString> *known = nullptr;
    QHash<qsizetype, std::optional<QString>> done;
    QSet<qsizetype> active;
    Budget budget{0, 0, maximumSteps, maximumProduced};
};

BuildSettingsResolver::BuildSettingsResolver(const QString &targetName, const QList<Definition> &defaults)
    : m_targetName(targetName)
{
    auto builtIn = std::make_shared<Level>();
    builtIn->append(QStringLiteral("PRODUCT_NAME"), QStringLiteral("$(TARGET_NAME)"));
    for (const Definition &definition : defaults)
        builtIn->append(definition.key, definition.value);
    m_levels.append(builtIn);
    m_offsets.append(0);
}

void BuildSettingsResolver::add(const QString &key, const QString &value)
{
    m_known.clear();
    if (!m_open) {
        m_open = std::make_shared<Level>();
        m_offsets.append(size());
        m_levels.append(m_open);
    }
    m_open->append(key, value);
}

void BuildSettingsResolver::add(const QList<Definition> &definitions)
{
    add(std::make_shared<const Level>(definitions));
}

void BuildSettingsResolver::add(const QVariantMap &settings)
{
    add(std::make_shared<const Level>(settings));
}

void BuildSettingsResolver::add(SharedLevel level)
{
    if (!level)
        return;
    m_known.clear();
    m_open.reset();
    m_offsets.append(size());
    m_levels.append(std::move(level));
}

bool BuildSettingsResolver::defines(const QString &key) const
{
    for (qsizetype level = 1; level < m_levels.size(); ++level) {
        if (m_levels.at(level)->defines(key))
            return true;
    }
    return false;
}

bool BuildSettingsResolver::levelDefines(qsizetype level, const QString &key) const
{
    return level >= 0 && level < m_levels.size() && m_levels.at(level)->defines(key);
}

std::optional<QString> BuildSettingsResolver::value(const QString &key) const
{
    return value(key, m_levels.size() - 1);
}

std::optional<QString> BuildSettingsResolver::value(const QString &key, qsizetype level) const
{
    if (key == targetNameKey)
        return m_targetName;
    Expansion state;
    state.end = levelEnd(std::clamp(level, qsizetype(0), m_levels.size() - 1));
    state.known = &m_known[state.end];
    const qsizetype index = topmost(key, state.end);
    if (index < 0)
        return std::nullopt;
    return definitionValue(index, state, 0);
}

std::optional<QString> BuildSettingsResolver::expanded(const QString &text) const
{
    Expansion state;
    state.end = size();
    state.known = &m_known[state.end];
    return expand(text, QString(), state.end, state, 0);
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

qsizetype BuildSettingsResolver::size() const
{
    return m_offsets.last() + m_levels.last()->definitions().size();
}

qsizetype BuildSettingsResolver::levelEnd(qsizetype level) const
{
    return level + 1 < m_offsets.size() ? m_offsets.at(level + 1) : size();
}

const BuildSettingsResolver::Definition &BuildSettingsResolver::definition(qsizetype index) const
{
    const qsizetype level = std::upper_bound(m_offsets.cbegin(), m_offsets.cend(), index) - m_offsets.cbegin() - 1;
    return m_levels.at(level)->definitions().at(index - m_offsets.at(level));
}

qsizetype BuildSettingsResolver::topmost(const QString &key, qsizetype below) const
{
    for (qsizetype level = m_levels.size() - 1; level >= 0; --level) {
        const qsizetype offset = m_offsets.at(level);
        if (offset >= below)
            continue;
        const qsizetype index = m_levels.at(level)->last(key, below - offset);
        if (index >= 0)
            return offset + index;
    }
    return -1;
}

std::optional<QString> BuildSettingsResolver::definitionValue(qsizetype index, Expansion &state, int depth) const
{
    if (const auto done = state.done.constFind(index); done != state.done.cend())
        return *done;
    if (const auto known = state.known->constFind(index); known != state.known->cend())
        return *known;
    if (state.active.contains(index) || depth > maximumDepth || state.budget.spent())
        return std::nullopt;
    state.active.insert(index);
    const Definition &found = definition(index);
    const auto result = expand(found.value, found.key, index, state, depth + 1);
    state.active.remove(index);
    state.done.insert(index, result);
    // A loop, the depth or the budget may have ended this lookup only: kept for it alone.
    if (result)
        state.known->insert(index, *result);
    return result;
}

std::optional<QString> BuildSettingsResolver::expand(const QString &text, const QString &key, qsizetype below,
                                                     Expansion &state, int depth) const
{
    if (depth > maximumDepth || state.budget.spent())
        return std::nullopt;
    QString result;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype at = text.indexOf(QLatin1Char('$'), from);
        while (at >= 0 && !isReferenceStart(text, at))
            at = text.indexOf(QLatin1Char('$'), at + 1);
        if (at < 0)
            at = text.size();
        result += QStringView(text).sliced(from, at - from);
        if (at >= text.size())
            break;

        std::optional<QString> substituted;
        if (isBracketOpening(text, at)) {
            const qsizetype end = referenceEnd(text, at);
            if (end < 0) {
                // Never closed: the rest stays as written.
                result += QStringView(text).sliced(at);
                break;
            }
            // "$(APP_$(STAGE))": the inner references first.
            if (!state.budget.spend(end - at))
                return std::nullopt;
            const auto name = expand(text.mid(at + 2, end - at - 2), key, below, state, depth + 1);
            if (!name)
                return std::nullopt;
            // A name still holding "$" came from a value that holds one as text: no setting.
            substituted = name->contains(QLatin1Char('$')) ? std::optional<QString>(text.mid(at, end - at + 1))
                                                           : reference(*name, key, below, state, depth);
            from = end + 1;
        } else {
            qsizetype end = at + 1;
            while (end < text.size() && isNameChar(text.at(end)))
                ++end;
            substituted = reference(QStringView(text).sliced(at + 1, end - at - 1), key, below, state, depth);
            from = end;
        }
        if (!substituted)
            return std::nullopt;
        result += *substituted;
        if (result.size() > maximumLength || !state.budget.spend(substituted->size()))
            return std::nullopt;
    }
    return result;
}

// The text a reference stands for: the setting's value with the modifiers applied, empty for
// a setting nothing defines; nothing when resolving it loops, runs too deep, names an unknown
// modifier or spends the lookup's budget.
std::optional<QString> BuildSettingsResolver::reference(QStringView name, const QString &key, qsizetype below,
                                                        Expansion &state, int depth) const
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    const QString setting = (colon < 0 ? name : name.first(colon)).toString();
    const QStringView modifiers = colon < 0 ? QStringView() : name.sliced(colon + 1);

    QString value;
    if (setting == targetNameKey) {
        value = m_targetName;
    } else {
        const bool inherited = setting == inheritedName || setting == key;
        const qsizetype index = topmost(inherited ? key : setting, inherited ? below : state.end);
        if (index >= 0) {
            const auto found = definitionValue(index, state, depth + 1);
            if (!found)
                return std::nullopt;
            value = *found;
        }
    }
    return modified(value, modifiers, state.budget);
}
