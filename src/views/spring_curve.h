#pragma once

#include <chrono>

namespace views {

// The motion of a damped spring released from 0 towards 1, described the way designers
// give springs: `response` is the period of the undamped spring in seconds, `dampingFraction`
// 1 for critical damping and less for a little overshoot. Drives value animations: map the
// elapsed time through valueAt().
class SpringCurve final {
public:
    SpringCurve(double response, double dampingFraction);

    // The spring's position `seconds` after release: 0 at the start, 1 at rest.
    double valueAt(double seconds) const;
    // When the spring is within 0.1 % of rest for good; animations run this long.
    std::chrono::milliseconds settlingTime() const;

private:
    double m_omega;   // undamped angular frequency
    double m_damping; // damping fraction, kept above zero
};

} // namespace views
