#include "InfoPlistReader.h"

#include "FileNameCase.h"

#include <ProjectFile.h>

#include <QXmlStreamReader>

namespace InfoPlistReader {
namespace {

// The elements of one property list in document order, counted and measured against the caps.
class Walk
{
public:
    explicit Walk(const QByteArray &xml) : m_reader(xml) {}

    // On to the next start or end of an element; false at the end of the text, on an error
    // or past a cap.
    bool advance()
    {
        while (!m_reader.atEnd()) {
            switch (m_reader.readNext()) {
            case QXmlStreamReader::StartElement:
                ++m_depth;
                return ++m_elements <= maximumElements && m_depth <= maximumDepth;
            case QXmlStreamReader::EndElement:
                --m_depth;
                return true;
            default:
                break;
            }
        }
        return false;
    }

    // On to the start of the next element inside the current one; false at its end.
    bool nextChild() { return advance() && m_reader.isStartElement(); }

    // Past the end of the element just started.
    bool skip()
    {
        const int outside = m_depth - 1;
        while (m_depth > outside) {
            if (!advance())
                return false;
        }
        return true;
    }

    QStringView name() const { return m_reader.name(); }

    // The text of the element just started, which holds no elements; its end is read too.
    std::optional<QString> text()
    {
        QString text = m_reader.readElementText();
        if (m_reader.hasError())
            return std::nullopt;
        --m_depth;
        return text;
    }

private:
    QXmlStreamReader m_reader;
    int m_depth = 0;
    int m_elements = 0;
};

} // namespace

std::optional<QString> string(const QByteArray &xml, const QString &key)
{
    Walk walk(xml);
    if (!walk.nextChild() || walk.name() != QLatin1String("plist") || !walk.nextChild()
        || walk.name() != QLatin1String("dict"))
        return std::nullopt;
    // The root dictionary: a "key" element before each value.
    while (walk.nextChild()) {
        if (walk.name() != QLatin1String("key"))
            return std::nullopt;
        const auto name = walk.text();
        if (!name || !walk.nextChild())
            return std::nullopt;
        if (*name == key)
            return walk.name() == QLatin1String("string") ? walk.text() : std::nullopt;
        if (!walk.skip())
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QString> readString(const QString &written, const QString &root, const QString &key)
{
    const QString path = FileNameCase::existing(written, root);
    // The size is known before anything is read.
    const ProjectFile::Stamp stamp = ProjectFile::stamp(path);
    if (!stamp.exists || stamp.size > maximumBytes)
        return std::nullopt;
    const Result<QByteArray> bytes = ProjectFile::read(path, root);
    if (!bytes || bytes.value().size() > maximumBytes)
        return std::nullopt;
    return string(bytes.value(), key);
}

} // namespace InfoPlistReader
