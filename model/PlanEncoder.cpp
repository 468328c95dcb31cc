#include "PlanEncoder.h"

#include "JsonTextWriter.h"
#include "PlanKeys.h"

#include <cstring>

namespace {

using namespace PlanKeys;

// The plan's "shots.json" text written directly; the same text QJsonDocument makes of
// toJson(), without the intermediate tree (autosave runs after every edit).
class PlanTextWriter
{
public:
    explicit PlanTextWriter(JsonTextWriter writer) : m_writer(std::move(writer)) {}

    // `writeShot` writes each shot's object (inline, or a text from shotFragment).
    template <typename WriteShot>
    QByteArray write(const ScreenshotPlan &plan, WriteShot writeShot)
    {
        m_writer.beginObject();
        m_writer.key(flagSelectionsKey);
        m_writer.beginObject();
        for (auto it = plan.flagSelections.cbegin(); it != plan.flagSelections.cend(); ++it)
            stringField(it.key(), it.value());
        m_writer.endObject();

        m_writer.key(lanesKey);
        m_writer.beginArray();
        for (const Lane &lane : plan.lanes) {
            m_writer.beginObject();
            uuidField(idKey, lane.id);
            stringField(nameKey, lane.name);
            m_writer.endObject();
        }
        m_writer.endArray();

        m_writer.key(languagesKey);
        stringList(plan.languages);
        m_writer.key(launchArgumentsKey);
        stringList(plan.launchArguments);

        m_writer.key(launchVariablesKey);
        m_writer.beginArray();
        for (const LaunchVariable &variable : plan.launchVariables) {
            m_writer.beginObject();
            uuidField(idKey, variable.id);
            stringField(QStringLiteral("key"), variable.key);
            stringField(QStringLiteral("value"), variable.value);
            m_writer.endObject();
        }
        m_writer.endArray();

        if (plan.location)
            location(*plan.location);

        m_writer.key(shotsKey);
        m_writer.beginArray();
        for (const Shot &shot : plan.shots)
            writeShot(*this, shot);
        m_writer.endArray();
        m_writer.endObject();
        return m_writer.finish();
    }

    std::string takeBuffer() { return m_writer.takeBuffer(); }
    void writeShotText(QByteArrayView text) { m_writer.rawValue(text); }
    qsizetype size() const { return m_writer.size(); }

    // One shot's object, indented for its place in the plan's "shots" array.
    static QByteArray shotFragment(const Shot &shot)
    {
        PlanTextWriter writer(JsonTextWriter::atDepth(2, 512 + 256 * shot.steps.size()));
        writer.writeShot(shot);
        return writer.m_writer.fragment();
    }

    void writeShot(const Shot &shot)
    {
        m_writer.beginObject();
        uuidField(idKey, shot.id);
        if (shot.laneID)
            uuidField(QStringLiteral("laneID"), *shot.laneID);
        if (shot.location)
            location(*shot.location);
        stringField(nameKey, shot.name);
        m_writer.key(QStringLiteral("steps"));
        m_writer.beginArray();
        for (const ShotStepItem &item : shot.steps) {
            m_writer.beginObject();
            uuidField(idKey, item.id);
            m_writer.key(QStringLiteral("step"));
            writeStep(item.step);
            m_writer.endObject();
        }
        m_writer.endArray();
        m_writer.endObject();
    }

private:
    void writeStep(const ShotStep &step)
    {
        m_writer.beginObject();
        if (const auto *tap = step.as<ShotStep::Tap>()) {
            m_writer.key(QStringLiteral("tap"));
            m_writer.beginObject();
            point(tap->at);
            stringField(QStringLiteral("label"), tap->label);
            stringField(QStringLiteral("selector"), tap->selector);
            m_writer.endObject();
        } else if (const auto *typeText = step.as<ShotStep::TypeText>()) {
            m_writer.key(QStringLiteral("typeText"));
            m_writer.beginObject();
            stringField(QStringLiteral("selector"), typeText->selector);
            stringField(QStringLiteral("text"), typeText->text);
            m_writer.endObject();
        } else if (const auto *wait = step.as<ShotStep::Wait>()) {
            m_writer.key(QStringLiteral("wait"));
            m_writer.beginObject();
            numberField(QStringLiteral("seconds"), wait->seconds);
            m_writer.endObject();
        } else if (const auto *swipe = step.as<ShotStep::Swipe>()) {
            m_writer.key(QStringLiteral("swipe"));
            m_writer.beginObject();
            point(swipe->at);
            stringField(QStringLiteral("direction"), SwipeDirections::name(swipe->direction));
            stringField(QStringLiteral("label"), swipe->label);
            stringField(QStringLiteral("selector"), swipe->selector);
            m_writer.endObject();
        }
        m_writer.endObject();
    }

    void point(const std::optional<NormPoint> &at)
    {
        if (!at)
            return;
        m_writer.key(QStringLiteral("at"));
        m_writer.beginObject();
        numberField(QStringLiteral("x"), at->x);
        numberField(QStringLiteral("y"), at->y);
        m_writer.endObject();
    }

    void location(const PlanLocation &value)
    {
        m_writer.key(locationKey);
        m_writer.beginObject();
        numberField(QStringLiteral("latitude"), value.latitude);
        numberField(QStringLiteral("longitude"), value.longitude);
        m_writer.endObject();
    }

    void stringList(const QStringList &list)
    {
        m_writer.beginArray();
        for (const QString &entry : list)
            m_writer.value(entry);
        m_writer.endArray();
    }

    void stringField(const QString &key, const QString &value)
    {
        m_writer.key(key);
        m_writer.value(value);
    }

    void numberField(const QString &key, double value)
    {
        m_writer.key(key);
        m_writer.value(value);
    }

    // The canonical upper-case text, formatted here: identifiers are most of a plan's text.
    void uuidField(const QString &key, const QUuid &id)
    {
        static constexpr char digits[] = "0123456789ABCDEF";
        char text[36];
        int at = 0;
        const auto hex = [&](quint64 value, int count) {
            for (int shift = 4 * (count - 1); shift >= 0; shift -= 4)
                text[at++] = digits[(value >> shift) & 0xf];
        };
        hex(id.data1, 8);
        text[at++] = '-';
        hex(id.data2, 4);
        text[at++] = '-';
        hex(id.data3, 4);
        text[at++] = '-';
        hex(id.data4[0], 2);
        hex(id.data4[1], 2);
        text[at++] = '-';
        for (int i = 2; i < 8; ++i)
            hex(id.data4[i], 2);
        m_writer.key(key);
        m_writer.plainValue(QLatin1StringView(text, 36));
    }

    JsonTextWriter m_writer;
};

// About 400 bytes per step is plenty for a typical plan and saves regrowing.
qsizetype expectedSize(const ScreenshotPlan &plan)
{
    qsizetype steps = 0;
    for (const Shot &shot : plan.shots)
        steps += shot.steps.size();
    return 1024 + 400 * (steps + plan.shots.size());
}

} // namespace

QByteArray PlanEncoder::encodeOnce(const ScreenshotPlan &plan)
{
    return PlanTextWriter(JsonTextWriter(expectedSize(plan)))
        .write(plan, [](PlanTextWriter &writer, const Shot &shot) { writer.writeShot(shot); });
}

QByteArray PlanEncoder::encode(const ScreenshotPlan &plan)
{
    // Shots gone from the plan (or given new identifiers) are forgotten now and then.
    if (m_shots.size() > plan.shots.size()) {
        QHash<QUuid, CachedShot> kept;
        kept.reserve(plan.shots.size());
        for (const Shot &shot : plan.shots) {
            if (const auto it = m_shots.constFind(shot.id); it != m_shots.constEnd())
                kept.insert(shot.id, *it);
        }
        m_shots = std::move(kept);
    }
    m_shots.reserve(plan.shots.size());

    // The document is written without the shots' texts, noting where each goes; the texts
    // are copied in once, straight into the result.
    QList<QByteArrayView> texts;
    QList<qsizetype> places;
    texts.reserve(plan.shots.size());
    places.reserve(plan.shots.size());
    qsizetype textSize = 0;
    m_shotsWritten = 0;
    const auto writeShot = [&](PlanTextWriter &writer, const Shot &shot) {
        // A cached text is used only for a shot equal to the one it was written from; equal
        // values share their step lists, so the check is cheap for every unchanged shot.
        auto cached = m_shots.find(shot.id);
        QByteArrayView text;
        if (cached != m_shots.end() && cached->shot == shot) {
            text = cached->text;
        } else if (cached != m_shots.end() && cached->round == m_round) {
            // Another shot of this plan has this identifier and its text is in use: this one
            // is written on its own.
            ++m_shotsWritten;
            m_repeated.append(PlanTextWriter::shotFragment(shot));
            text = m_repeated.last();
        } else {
            ++m_shotsWritten;
            cached = m_shots.insert(shot.id, CachedShot{shot, PlanTextWriter::shotFragment(shot), m_round});
            text = cached->text;
        }
        cached->round = m_round;
        writer.writeShotText({});
        places.append(writer.size());
        texts.append(text);
        textSize += text.size();
    };
    ++m_round;
    PlanTextWriter writer{JsonTextWriter(std::move(m_buffer))};
    const QByteArray frame = writer.write(plan, writeShot);
    m_buffer = writer.takeBuffer();

    QByteArray bytes(frame.size() + textSize, Qt::Uninitialized);
    char *out = bytes.data();
    qsizetype from = 0;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        std::memcpy(out, frame.constData() + from, size_t(places[i] - from));
        out += places[i] - from;
        std::memcpy(out, texts[i].data(), size_t(texts[i].size()));
        out += texts[i].size();
        from = places[i];
    }
    std::memcpy(out, frame.constData() + from, size_t(frame.size() - from));
    m_repeated.clear();
    return bytes;
}
