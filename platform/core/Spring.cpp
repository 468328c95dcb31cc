#include "Spring.h"

#include <QtMath>

#include <cmath>

int Spring::durationMs() const
{
    // A damped spring settles after roughly 1.5 periods for the dampings the screens use.
    const double settle = response * (dampingFraction >= 1.0 ? 1.2 : 1.5 / qMax(0.3, dampingFraction));
    return qBound(80, qRound(settle * 1000.0), 2000);
}

QEasingCurve Spring::easingCurve() const
{
    if (dampingFraction >= 0.8) {
        return QEasingCurve(QEasingCurve::OutCubic);
    }
    // Under-damped: a visible overshoot that grows as the damping falls.
    QEasingCurve curve(QEasingCurve::OutBack);
    const double overshoot = std::exp(-dampingFraction * M_PI / std::sqrt(1.0 - dampingFraction * dampingFraction));
    curve.setOvershoot(qBound(0.3, overshoot * 10.0, 2.5));
    return curve;
}

Spring Spring::interpolating(double mass, double stiffness, double damping)
{
    const double omega = std::sqrt(stiffness / mass);
    Spring spring;
    spring.response = 2.0 * M_PI / omega;
    spring.dampingFraction = damping / (2.0 * std::sqrt(stiffness * mass));
    return spring;
}

namespace Motion {
namespace {
bool &flag()
{
    static bool enabled = true;
    return enabled;
}
} // namespace

bool animationsEnabled()
{
    return flag();
}

void setAnimationsEnabled(bool enabled)
{
    flag() = enabled;
}
} // namespace Motion
