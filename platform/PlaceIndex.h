#pragma once

#include "Gazetteer.h"
#include "MessageCatalog.h"

#include <QString>
#include <QStringView>

#include <vector>

// Finds the gazetteer's cities by any of their names: the English ones of the gazetteer and
// those of the given catalogues. Built once; finding is read-only and safe from any thread.
class PlaceIndex final
{
    Q_DISABLE_COPY_MOVE(PlaceIndex)

public:
    enum class Fit { WholeName, StartOfName, LaterWord };

    struct Match
    {
        int city = 0;
        // The name that matched, as the gazetteer or catalogue writes it.
        QString name;
        Fit fit = Fit::WholeName;
    };

    // `catalogues` name the cities in other languages, most wanted first: where two names of a
    // city match equally well, the one of the earlier catalogue is shown, English last.
    // A "name" of more words than any place has is left out. `cities` must outlive the index.
    PlaceIndex(const std::vector<GazetteerCity> &cities, std::vector<MessageCatalog> catalogues);

    // The cities one of whose names, or one of its words onwards, starts with the text (case,
    // accents and punctuation aside). Best first: a whole name before a name that starts with
    // the text, before a later word that does; then the larger city.
    std::vector<Match> find(QStringView text) const;
    // Whether the city's state or country, in any of the languages, contains the text.
    bool isInRegion(int city, QStringView region) const;

    // The text as names are compared: lower case, without accents, words separated by single
    // spaces, anything but letters and digits between them.
    static QString folded(QStringView text);

private:
    struct Name
    {
        int city = 0;
        int preference = 0; // the catalogue's place; English last
        QString shown;
        QString folded;
    };
    // A place in a folded name where a word starts.
    struct WordStart
    {
        int name = 0;
        int offset = 0;
    };
    QStringView suffix(const WordStart &start) const;

    const std::vector<GazetteerCity> &m_cities;
    std::vector<MessageCatalog> m_catalogues;
    std::vector<Name> m_names;
    // Every word start of every name, in the order of the text from there on.
    std::vector<WordStart> m_wordStarts;
};
