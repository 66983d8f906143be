#pragma once
// The optical class check of PON and XG-PON readings taken at the ONU: a
// downstream reading must lie between the ONU receiver's sensitivity and
// overload, an upstream (burst) reading within the ONU transmitter's launch
// range, a 1550 nm video overlay reading within the video receiver's input
// range. A reading inside but nearer a limit than the class's warning margin
// is a warning: meters read to ±0.5 to 1 dB and links age.
//
// Each technology has its own class: a GPON class for the PON page, an
// XG-PON or XGS-PON class for the XG-PON page, so that a reading is never
// judged against another technology's limits. The classes are chosen in
// settings.ini (see the README, "PON class check"), which may also override
// any limit and the margin. Pages, exports, lumisk-cli and tests ask the same
// functions, so a verdict reads the same everywhere.

#include "domain/historyrecords.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QSettings;
struct PowerInfo;

class PonClassCheck
{
    Q_DECLARE_TR_FUNCTIONS(PonClassCheck)

public:
    // GPON on the PON page; XG-PON and XGS-PON, which share a wavelength
    // plan, on the XG-PON page.
    enum class Technology { Gpon, XgPon };
    enum class Direction { Downstream, Upstream, Video };
    enum class Verdict { NotChecked, Within, Warning, Below, Above };

    static constexpr double DefaultWarningMargin = 2.0; // dB

    struct Limits {
        double minimum = 0.0; // dBm
        double maximum = 0.0; // dBm
    };
    // Wavelength band in nm, both ends included.
    struct Band {
        int from = 0;
        int to = 0;
        bool contains(int nm) const { return nm >= from && nm <= to; }
    };
    struct OpticalClass {
        QString key;  // in settings.ini
        QString name; // as shown; technology names stay untranslated
        Technology technology = Technology::Gpon;
        Band downBand;
        Limits down; // ONU receiver: sensitivity .. overload
        Band upBand;
        Limits up;   // ONU transmitter: mean launch power
        // A reading within the limits but nearer one than this (dB) is a
        // warning; 0 turns the warning zone off.
        double warningMargin = DefaultWarningMargin;
    };
    struct Result {
        Verdict verdict = Verdict::NotChecked;
        Direction direction = Direction::Downstream;
        Limits limits;
        // dB to the nearer limit: positive inside, negative outside; not a
        // number when the meter only said "Low" or "High".
        double margin = 0.0;
        bool hasMargin = false;
    };
    // Counts of one page's verdicts, for the line above the table.
    struct Tally {
        int within = 0;
        int warning = 0;
        int belowSensitivity = 0;
        int overload = 0;
        int launchLow = 0;
        int launchHigh = 0;
        int notChecked = 0;
        void add(const Result &result);
    };

    // The classes as the Recommendations give them, and the video band.
    static const QList<OpticalClass> &builtInClasses();
    static Band videoBand();
    static Limits builtInVideoLimits();
    // The technology of a history kind: "pon" GPON, "xgpon" XG-PON; none
    // for the other kinds.
    static std::optional<Technology> technologyOf(const QString &kind);

    // No class chosen: every reading is NotChecked.
    PonClassCheck() = default;
    PonClassCheck(const OpticalClass &opticalClass, const Limits &video);
    // The class chosen under [ponClass] for the technology, with the limits
    // and margin there overriding the built-in ones; an unknown or missing
    // class, or one of the other technology, checks nothing.
    static PonClassCheck fromSettings(const QSettings &settings, Technology technology);
    // The same from the program's settings.ini.
    static PonClassCheck fromConfiguration(Technology technology);
    // The key of the class chosen for the technology ("" for none). A file
    // written before the choice was made per technology has one class= key:
    // it counts for the technology of the class it names.
    static QString storedChoice(const QSettings &settings, Technology technology);
    static QString storedChoice(Technology technology);
    // Keeps both choices (an empty key: no class) in settings.ini.
    static void storeChoices(const QString &gponKey, const QString &xgPonKey);

    bool isActive() const { return active; }
    const OpticalClass &opticalClass() const { return chosen; }

    Result check(int wavelengthNm, double dBm) const;
    // A reading as a PON or XG-PON page shows it: "Low"/"High" are outside
    // with no margin, a relative reading (dB) cannot be checked.
    Result check(const PowerInfo &info) const;

    // Plain English words for files ("within", "warning", "below
    // sensitivity", "overload", "below launch range", "above launch range",
    // "" when not checked) and the margin as a number text ("" when there is
    // none).
    static QString verdictWord(const Result &result);
    static QString marginText(const Result &result);
    // Translated texts for the window.
    static QString verdictText(const Result &result);
    QString toolTip(const Result &result) const;
    QString summary(const Tally &tally) const;
    // The style sheet of a power text with this verdict: the amber of the
    // warning icon, the red of the fail icon; empty within or unchecked.
    static QString powerStyle(const Result &result);

    // The CSV columns of the class check, after the standard ones, and their
    // fields for one stored reading (all empty while no class is chosen).
    static QStringList csvHeader();
    QStringList csvFields(const History::Reading &reading) const;
    // A stored reading as the pages check it.
    static PowerInfo powerInfoOf(const History::Reading &reading);

private:
    OpticalClass chosen;
    Limits video;
    bool active = false;
};
