#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>
#include <variant>

// A screen point normalised to 0…1 of the window's width and height.
struct NormPoint
{
    double x = 0;
    double y = 0;
    bool operator==(const NormPoint &) const = default;
};

enum class SwipeDirection { Up, Down, Left, Right };

namespace SwipeDirections {
QString name(SwipeDirection direction);                       // "up", "down", "left", "right"
std::optional<SwipeDirection> fromName(const QString &name);
}

// One step of a shot: tap, type text, wait or swipe. Its JSON form is an object with
// exactly one key naming the kind ("tap", "typeText", "wait", "swipe").
class ShotStep
{
public:
    enum class Kind { Tap, TypeText, Wait, Swipe };

    struct Tap
    {
        QString selector;
        QString label;
        std::optional<NormPoint> at;
        bool operator==(const Tap &) const = default;
    };
    struct TypeText
    {
        QString selector;
        QString text;
        bool operator==(const TypeText &) const = default;
    };
    struct Wait
    {
        double seconds = 1.0;
        bool operator==(const Wait &) const = default;
    };
    struct Swipe
    {
        QString selector;
        QString label;
        std::optional<NormPoint> at;
        SwipeDirection direction = SwipeDirection::Up;
        bool operator==(const Swipe &) const = default;
    };

    using Value = std::variant<Tap, TypeText, Wait, Swipe>;

    ShotStep() = default; // a tap with empty selector and label and no point
    ShotStep(Tap tap) : m_value(std::move(tap)) {}
    ShotStep(TypeText typeText) : m_value(std::move(typeText)) {}
    ShotStep(Wait wait) : m_value(wait) {}
    ShotStep(Swipe swipe) : m_value(std::move(swipe)) {}

    static ShotStep tap(const QString &selector, const QString &label, std::optional<NormPoint> at = std::nullopt);
    static ShotStep typeText(const QString &selector, const QString &text);
    static ShotStep wait(double seconds);
    static ShotStep swipe(const QString &selector, const QString &label, std::optional<NormPoint> at, SwipeDirection direction);

    Kind kind() const;
    const Value &value() const { return m_value; }
    template <typename T> const T *as() const { return std::get_if<T>(&m_value); }

    // One-line description (see the step rows' drag preview).
    QString summary() const;

    QJsonObject toJson() const;
    static std::optional<ShotStep> fromJson(const QJsonValue &json, QString *error = nullptr);

    bool operator==(const ShotStep &) const = default;

private:
    Value m_value;
};

// A step with an identity of its own, kept across edits and moves.
struct ShotStepItem
{
    QUuid id;
    ShotStep step;

    // A new item with a fresh random identifier.
    static ShotStepItem make(const ShotStep &step);

    QJsonObject toJson() const;
    static std::optional<ShotStepItem> fromJson(const QJsonValue &json, QString *error = nullptr);
    bool operator==(const ShotStepItem &) const = default;
};
