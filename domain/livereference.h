#pragma once
// A reference taken on the PC from the live readings: "Set reference" keeps
// the latest power of every wavelength seen so far, and from then on a
// reading at such a wavelength has a loss of reference - power (dB). The
// meter's own reference (sent with each reading) is left as it is.

#include <QHash>
#include <QString>
#include <optional>

class LiveReference
{
public:
    // Every reading passes here, so that the latest one per wavelength is at hand.
    void noteReading(const QString &wavelength, double power);
    // Takes the latest reading of each wavelength as its reference; returns
    // whether there was any to take.
    bool set();
    // Forgets the readings noted (a new run); the reference itself stays.
    void clearReadings() { latest.clear(); }

    bool isSet() const { return !references.isEmpty(); }
    std::optional<double> reference(const QString &wavelength) const;
    // reference - power, for a finite power at a wavelength with a reference.
    std::optional<double> loss(const QString &wavelength, double power) const;

private:
    QHash<QString, double> latest;
    QHash<QString, double> references;
};
