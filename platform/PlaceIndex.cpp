#include "PlaceIndex.h"

#include <QHash>

#include <algorithm>

namespace {

// Far more words than any place's name has. Every word of a name is a place where a search
// may start, and the names come from the system's catalogues: a "name" of thousands of words
// would make building the index take seconds.
constexpr qsizetype maximumWords = 32;

} // namespace

PlaceIndex::PlaceIndex(const std::vector<GazetteerCity> &cities, std::vector<MessageCatalog> catalogues)
    : m_cities(cities)
    , m_catalogues(std::move(catalogues))
{
    const int english = int(m_catalogues.size());
    m_names.reserve(cities.size() * 2);
    for (size_t city = 0; city < cities.size(); ++city) {
        const size_t first = m_names.size();
        const auto add = [&](const QString &shown, int preference) {
            if (shown.isEmpty())
                return;
            QString key = folded(shown);
            if (key.isEmpty() || key.count(QLatin1Char(' ')) >= maximumWords)
                return;
            // The same name in several languages is kept once, from the most wanted.
            for (size_t i = first; i < m_names.size(); ++i) {
                if (m_names[i].shown == shown)
                    return;
            }
            m_names.push_back({int(city), preference, shown, std::move(key)});
        };
        const GazetteerCity &entry = cities[city];
        if (!entry.identifier.isEmpty()) {
            for (int i = 0; i < english; ++i)
                add(m_catalogues[size_t(i)].translate(entry.identifier), i);
        }
        add(entry.name, english);
    }

    for (size_t name = 0; name < m_names.size(); ++name) {
        const QString &key = m_names[name].folded;
        for (qsizetype i = 0; i < key.size(); ++i) {
            if (i == 0 || key.at(i - 1) == QLatin1Char(' '))
                m_wordStarts.push_back({int(name), int(i)});
        }
    }
    std::sort(m_wordStarts.begin(), m_wordStarts.end(),
              [this](const WordStart &a, const WordStart &b) { return suffix(a) < suffix(b); });
}

QStringView PlaceIndex::suffix(const WordStart &start) const
{
    return QStringView(m_names[size_t(start.name)].folded).mid(start.offset);
}

std::vector<PlaceIndex::Match> PlaceIndex::find(QStringView text) const
{
    const QString key = folded(text);
    if (key.isEmpty())
        return {};

    // The best name of each city found: how well it fits, then how much it is wanted.
    struct Best
    {
        int name = 0;
        Fit fit = Fit::LaterWord;
    };
    QHash<int, Best> best;
    auto it = std::lower_bound(m_wordStarts.begin(), m_wordStarts.end(), key,
                               [this](const WordStart &start, const QString &wanted) { return suffix(start) < wanted; });
    for (; it != m_wordStarts.end() && suffix(*it).startsWith(key); ++it) {
        const Name &name = m_names[size_t(it->name)];
        const Fit fit = it->offset > 0 ? Fit::LaterWord
                        : name.folded.size() == key.size() ? Fit::WholeName
                                                           : Fit::StartOfName;
        const auto found = best.constFind(name.city);
        if (found != best.constEnd()) {
            const Name &other = m_names[size_t(found->name)];
            if (found->fit < fit || (found->fit == fit && other.preference <= name.preference))
                continue;
        }
        best.insert(name.city, {it->name, fit});
    }

    std::vector<Match> matches;
    matches.reserve(size_t(best.size()));
    for (auto entry = best.cbegin(); entry != best.cend(); ++entry)
        matches.push_back({entry.key(), m_names[size_t(entry->name)].shown, entry->fit});
    std::sort(matches.begin(), matches.end(), [this](const Match &a, const Match &b) {
        if (a.fit != b.fit)
            return a.fit < b.fit;
        const quint32 populationA = m_cities[size_t(a.city)].population;
        const quint32 populationB = m_cities[size_t(b.city)].population;
        if (populationA != populationB)
            return populationA > populationB;
        return a.city < b.city;
    });
    return matches;
}

bool PlaceIndex::isInRegion(int city, QStringView region) const
{
    if (city < 0 || size_t(city) >= m_cities.size())
        return false;
    const QString wanted = folded(region);
    if (wanted.isEmpty())
        return false;
    const GazetteerCity &entry = m_cities[size_t(city)];
    QStringList names{entry.state, entry.country};
    if (!entry.countryCode.isEmpty()) {
        const QByteArray stateKey = entry.countryCode + '.' + entry.stateCode;
        for (const MessageCatalog &catalogue : m_catalogues)
            names << catalogue.translate(stateKey) << catalogue.translate(entry.countryCode);
    }
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QString &name) { return !name.isEmpty() && folded(name).contains(wanted); });
}

QString PlaceIndex::folded(QStringView text)
{
    const QList<uint> points = text.toString().normalized(QString::NormalizationForm_KD).toUcs4();
    QString result;
    result.reserve(points.size());
    bool gap = false;
    for (const uint point : points) {
        const char32_t c = char32_t(point);
        if (QChar::category(c) == QChar::Mark_NonSpacing)
            continue; // the accents that decomposing took off their letters
        if (!QChar::isLetterOrNumber(c)) {
            gap = !result.isEmpty();
            continue;
        }
        if (gap)
            result += QLatin1Char(' ');
        gap = false;
        const char32_t lower = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(lower)) {
            result += QChar(QChar::highSurrogate(lower));
            result += QChar(QChar::lowSurrogate(lower));
        } else {
            result += QChar(char16_t(lower));
        }
    }
    return result;
}
