#pragma once

#include <QEasingCurve>

// A spring described as the screens describe it (response in seconds, damping fraction),
// turned into a duration and an easing curve for QVariantAnimation/QPropertyAnimation.
struct Spring
{
    double response = 0.5;
    double dampingFraction = 0.85;

    int durationMs() const;
    QEasingCurve easingCurve() const;

    // From the physical form (mass, stiffness, damping).
    static Spring interpolating(double mass, double stiffness, double damping);
};

namespace Motion {
// Tests switch animations off; widgets then jump to their end state at once.
bool animationsEnabled();
void setAnimationsEnabled(bool enabled);
}
