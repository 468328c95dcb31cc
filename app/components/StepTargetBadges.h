#pragma once

#include <ShotStep.h>

#include <QColor>
#include <QWidget>

#include <optional>

class QLabel;
class TargetBadge;

// What a step aims at: a badge with its label and a badge with its normalised point, side
// by side; "kein Ziel erfasst" when it has neither. Updated in place through the setters.
class StepTargetBadges final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StepTargetBadges)

public:
    explicit StepTargetBadges(const QString &label = QString(),
                              const std::optional<NormPoint> &point = std::nullopt,
                              QWidget *parent = nullptr);

    QString label() const { return m_label; }
    std::optional<NormPoint> point() const { return m_point; }

    void setLabel(const QString &label);
    void setPoint(const std::optional<NormPoint> &point);
    void setTarget(const QString &label, const std::optional<NormPoint> &point);
    // The badges' colour; the accent colour unless set.
    void setTintColor(const QColor &tint);
    QColor tintColor() const { return m_tint; }

    // "50% · 25%" for the point (0.5, 0.25).
    static QString pointText(const NormPoint &point);
    static QString noTargetText();

private:
    void refresh();

    QString m_label;
    std::optional<NormPoint> m_point;
    QColor m_tint;
    TargetBadge *m_labelBadge = nullptr;
    TargetBadge *m_pointBadge = nullptr;
    QLabel *m_noTarget = nullptr;
};
