#include "domain/livereference.h"

#include <cmath>

void LiveReference::noteReading(const QString &wavelength, double power)
{
    // A reading that is not finite cannot serve as a reference.
    if (std::isfinite(power))
        latest.insert(wavelength, power);
}

bool LiveReference::set()
{
    if (latest.isEmpty())
        return false;
    for (auto it = latest.cbegin(); it != latest.cend(); ++it)
        references.insert(it.key(), it.value());
    return true;
}

std::optional<double> LiveReference::reference(const QString &wavelength) const
{
    const auto it = references.constFind(wavelength);
    if (it == references.cend())
        return std::nullopt;
    return it.value();
}

std::optional<double> LiveReference::loss(const QString &wavelength, double power) const
{
    const std::optional<double> ref = reference(wavelength);
    if (!ref || !std::isfinite(power))
        return std::nullopt;
    return *ref - power;
}
