#include "views/spring_curve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace views {

SpringCurve::SpringCurve(double response, double dampingFraction)
    : m_omega(2 * std::numbers::pi / std::max(response, 1e-3)),
      m_damping(std::max(dampingFraction, 1e-3)) {}

double SpringCurve::valueAt(double seconds) const {
    if (seconds <= 0)
        return 0;
    const double t = seconds;
    const double w = m_omega;
    const double z = m_damping;
    if (z < 1) {
        const double wd = w * std::sqrt(1 - z * z);
        return 1 - std::exp(-z * w * t) * (std::cos(wd * t) + (z * w / wd) * std::sin(wd * t));
    }
    if (z == 1)
        return 1 - std::exp(-w * t) * (1 + w * t);
    const double root = w * std::sqrt(z * z - 1);
    const double slow = -z * w + root;
    const double fast = -z * w - root;
    return 1 - (fast * std::exp(slow * t) - slow * std::exp(fast * t)) / (fast - slow);
}

std::chrono::milliseconds SpringCurve::settlingTime() const {
    // The last millisecond still outside the band, found by stepping back from a time by
    // which even the slowest spring (the envelope's slowest exponent) has come to rest.
    const double slowest = m_damping <= 1
                               ? m_damping * m_omega
                               : m_omega * (m_damping - std::sqrt(m_damping * m_damping - 1));
    const auto bound = static_cast<long long>(std::ceil(12000 / slowest)); // e^-12 < 1e-5
    long long ms = bound;
    while (ms > 0 && std::abs(1 - valueAt((ms - 1) / 1000.0)) <= 0.001)
        --ms;
    return std::chrono::milliseconds(ms);
}

} // namespace views
