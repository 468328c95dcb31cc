#include "ShotStep.h"

#include "JsonFields.h"
#include "PercentText.h"

#include <Uuid.h>

#include <QLocale>

#include <cmath>

namespace SwipeDirections {

QString name(SwipeDirection direction)
{
    switch (direction) {
    case SwipeDirection::Up: return QStringLiteral("up");
    case SwipeDirection::Down: return QStringLiteral("down");
    case SwipeDirection::Left: return QStringLiteral("left");
    case SwipeDirection::Right: return QStringLiteral("right");
    }
    return QStringLiteral("up");
}

std::optional<SwipeDirection> fromName(const QString &name)
{
    for (const auto direction : {SwipeDirection::Up, SwipeDirection::Down, SwipeDirection::Left, SwipeDirection::Right}) {
        if (SwipeDirections::name(direction) == name)
            return direction;
    }
    return std::nullopt;
}

} // namespace SwipeDirections

namespace {

const QString tapKey = QStringLiteral("tap");
const QString typeTextKey = QStringLiteral("typeText");
const QString waitKey = QStringLiteral("wait");
const QString swipeKey = QStringLiteral("swipe");

// The shortest text that reads back as the same double, as a wait's duration is shown:
// whole numbers keep ".0" ("1.0"); below 0.0001 or beyond 2^54 an exponent ("1e-05").
QString doubleDescription(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    if (value == 0)
        return std::signbit(value) ? QStringLiteral("-0.0") : QStringLiteral("0.0");

    // "d.ddde±x" with the fewest digits that round-trip.
    const QString scientific = QString::number(value, 'e', QLocale::FloatingPointShortest);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    const int exponent = scientific.mid(e + 1).toInt();
    QString mantissa = scientific.left(e);
    const bool negative = mantissa.startsWith(QLatin1Char('-'));
    if (negative)
        mantissa.remove(0, 1);
    QString digits = mantissa;
    digits.remove(QLatin1Char('.'));

    QString text;
    constexpr double decimalLimit = 18014398509481984.0; // 2^54
    if (exponent < -4 || std::abs(value) > decimalLimit) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += QLatin1Char('.') + digits.mid(1);
        text += QLatin1Char('e');
        text += QLatin1Char(exponent < 0 ? '-' : '+');
        text += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent < 0) {
        text = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const qsizetype integerDigits = exponent + 1;
        if (digits.size() <= integerDigits) {
            text = digits + QString(integerDigits - digits.size(), QLatin1Char('0')) + QStringLiteral(".0");
        } else {
            text = digits.left(integerDigits) + QLatin1Char('.') + digits.mid(integerDigits);
        }
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString targetDescription(const QString &selector, const QString &label, const std::optional<NormPoint> &at)
{
    if (!selector.isEmpty())
        return selector;
    if (!label.isEmpty())
        return label;
    if (!at)
        return QStringLiteral("—");
    return QStringLiteral("Position ") + percentText(at->x) + QStringLiteral(", ") + percentText(at->y);
}

QJsonObject pointJson(const NormPoint &point)
{
    return QJsonObject{{QStringLiteral("x"), point.x}, {QStringLiteral("y"), point.y}};
}

bool readPoint(const QJsonObject &object, std::optional<NormPoint> &out, const QString &parent, QString *error)
{
    const QString key = QStringLiteral("at");
    const auto value = JsonFields::present(object, key);
    if (!value)
        return true;
    const QString at = JsonFields::path(parent, key);
    if (!value->isObject())
        return JsonFields::typeError(at, error);
    NormPoint point;
    const QJsonObject pointObject = value->toObject();
    if (!JsonFields::read(pointObject, QStringLiteral("x"), point.x, at, error)
        || !JsonFields::read(pointObject, QStringLiteral("y"), point.y, at, error))
        return false;
    out = point;
    return true;
}

} // namespace

ShotStep ShotStep::tap(const QString &selector, const QString &label, std::optional<NormPoint> at)
{
    return ShotStep(Tap{selector, label, at});
}

ShotStep ShotStep::typeText(const QString &selector, const QString &text)
{
    return ShotStep(TypeText{selector, text});
}

ShotStep ShotStep::wait(double seconds)
{
    return ShotStep(Wait{seconds});
}

ShotStep ShotStep::swipe(const QString &selector, const QString &label, std::optional<NormPoint> at, SwipeDirection direction)
{
    return ShotStep(Swipe{selector, label, at, direction});
}

ShotStep::Kind ShotStep::kind() const
{
    switch (m_value.index()) {
    case 1: return Kind::TypeText;
    case 2: return Kind::Wait;
    case 3: return Kind::Swipe;
    default: return Kind::Tap;
    }
}

QString ShotStep::summary() const
{
    if (const auto *t = as<Tap>())
        return targetDescription(t->selector, t->label, t->at);
    if (const auto *s = as<Swipe>())
        return targetDescription(s->selector, s->label, s->at);
    if (const auto *t = as<TypeText>())
        return t->selector.isEmpty() ? QStringLiteral("Feld") : t->selector;
    if (const auto *w = as<Wait>())
        return doubleDescription(w->seconds) + QStringLiteral(" s");
    return {};
}

QJsonObject ShotStep::toJson() const
{
    QJsonObject fields;
    QString key;
    if (const auto *t = as<Tap>()) {
        key = tapKey;
        fields.insert(QStringLiteral("selector"), t->selector);
        fields.insert(QStringLiteral("label"), t->label);
        if (t->at)
            fields.insert(QStringLiteral("at"), pointJson(*t->at));
    } else if (const auto *t = as<TypeText>()) {
        key = typeTextKey;
        fields.insert(QStringLiteral("selector"), t->selector);
        fields.insert(QStringLiteral("text"), t->text);
    } else if (const auto *w = as<Wait>()) {
        key = waitKey;
        fields.insert(QStringLiteral("seconds"), w->seconds);
    } else if (const auto *s = as<Swipe>()) {
        key = swipeKey;
        fields.insert(QStringLiteral("selector"), s->selector);
        fields.insert(QStringLiteral("label"), s->label);
        if (s->at)
            fields.insert(QStringLiteral("at"), pointJson(*s->at));
        fields.insert(QStringLiteral("direction"), SwipeDirections::name(s->direction));
    }
    return QJsonObject{{key, fields}};
}

std::optional<ShotStep> ShotStep::fromJson(const QJsonValue &json, QString *error)
{
    if (!json.isObject()) {
        JsonFields::typeError(QStringLiteral("step"), error);
        return std::nullopt;
    }
    const QJsonObject object = json.toObject();
    QString kindKey;
    for (const QString &key : {tapKey, typeTextKey, waitKey, swipeKey}) {
        if (!object.contains(key))
            continue;
        if (!kindKey.isEmpty()) {
            JsonFields::fail(QStringLiteral("Ein Schritt hat mehr als eine Art („%1“, „%2“).").arg(kindKey, key), error);
            return std::nullopt;
        }
        kindKey = key;
    }
    if (kindKey.isEmpty()) {
        JsonFields::fail(QStringLiteral("Ein Schritt hat keine bekannte Art."), error);
        return std::nullopt;
    }
    const QJsonValue fieldsValue = object.value(kindKey);
    if (!fieldsValue.isObject()) {
        JsonFields::typeError(kindKey, error);
        return std::nullopt;
    }
    const QJsonObject fields = fieldsValue.toObject();
    const QString selectorKey = QStringLiteral("selector");
    const QString labelKey = QStringLiteral("label");

    if (kindKey == tapKey) {
        Tap tap;
        if (!JsonFields::read(fields, selectorKey, tap.selector, kindKey, error)
            || !JsonFields::read(fields, labelKey, tap.label, kindKey, error)
            || !readPoint(fields, tap.at, kindKey, error))
            return std::nullopt;
        return std::optional<ShotStep>(std::in_place, tap);
    }
    if (kindKey == typeTextKey) {
        TypeText typeText;
        if (!JsonFields::read(fields, selectorKey, typeText.selector, kindKey, error)
            || !JsonFields::read(fields, QStringLiteral("text"), typeText.text, kindKey, error))
            return std::nullopt;
        return std::optional<ShotStep>(std::in_place, typeText);
    }
    if (kindKey == waitKey) {
        Wait wait;
        if (!JsonFields::read(fields, QStringLiteral("seconds"), wait.seconds, kindKey, error))
            return std::nullopt;
        return std::optional<ShotStep>(std::in_place, wait);
    }
    Swipe swipe;
    QString direction = SwipeDirections::name(swipe.direction);
    if (!JsonFields::read(fields, selectorKey, swipe.selector, kindKey, error)
        || !JsonFields::read(fields, labelKey, swipe.label, kindKey, error)
        || !readPoint(fields, swipe.at, kindKey, error)
        || !JsonFields::read(fields, QStringLiteral("direction"), direction, kindKey, error))
        return std::nullopt;
    const auto parsedDirection = SwipeDirections::fromName(direction);
    if (!parsedDirection) {
        JsonFields::fail(QStringLiteral("Unbekannte Wischrichtung „%1“.").arg(direction), error);
        return std::nullopt;
    }
    swipe.direction = *parsedDirection;
    return std::optional<ShotStep>(std::in_place, swipe);
}

ShotStepItem ShotStepItem::make(const ShotStep &step)
{
    return ShotStepItem{Uuid::make(), step};
}

QJsonObject ShotStepItem::toJson() const
{
    return QJsonObject{{QStringLiteral("id"), JsonFields::uuidValue(id)}, {QStringLiteral("step"), step.toJson()}};
}

std::optional<ShotStepItem> ShotStepItem::fromJson(const QJsonValue &json, QString *error)
{
    if (!json.isObject()) {
        JsonFields::typeError(QStringLiteral("item"), error);
        return std::nullopt;
    }
    const QJsonObject object = json.toObject();
    ShotStepItem item{Uuid::make(), ShotStep()};
    if (!JsonFields::read(object, QStringLiteral("id"), item.id, QString(), error))
        return std::nullopt;
    if (const auto stepValue = JsonFields::present(object, QStringLiteral("step"))) {
        QString stepError;
        const auto step = ShotStep::fromJson(*stepValue, &stepError);
        if (!step) {
            JsonFields::fail(QStringLiteral("step: ") + stepError, error);
            return std::nullopt;
        }
        item.step = *step;
    }
    return item;
}
