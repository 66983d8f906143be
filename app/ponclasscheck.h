#pragma once
// The optical class check of PON and XG-PON readings taken at the ONU: a
// downstream reading must lie between the ONU receiver's sensitivity and
// overload, an upstream (burst) reading within the ONU transmitter's launch
// range, a 1550 nm video overlay reading within the video receiver's input
// range. The class is chosen in settings.ini (see the README, "PON class
// check"), which may also override any limit. Pages, exports and tests ask
// the same functions, so a verdict reads the same everywhere.

#include <QCoreApplication>
#include <QList>
#include <QString>

class QSettings;
struct PowerInfo;

class PonClassCheck
{
    Q_DECLARE_TR_FUNCTIONS(PonClassCheck)

public:
    enum class Direction { Downstream, Upstream, Video };
    enum class Verdict { NotChecked, Within, Below, Above };

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
        Band downBand;
        Limits down; // ONU receiver: sensitivity .. overload
        Band upBand;
        Limits up;   // ONU transmitter: mean launch power
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

    // No class chosen: every reading is NotChecked.
    PonClassCheck() = default;
    PonClassCheck(const OpticalClass &opticalClass, const Limits &video);
    // The class chosen under [ponClass] with the limits there overriding
    // the built-in ones; an unknown or missing class checks nothing.
    static PonClassCheck fromSettings(const QSettings &settings);
    // The same from the program's settings.ini.
    static PonClassCheck fromConfiguration();
    // Keeps the choice (an empty key: no class) in settings.ini.
    static void storeChoice(const QString &key);
    static QString storedChoice();

    bool isActive() const { return active; }
    const OpticalClass &opticalClass() const { return chosen; }

    Result check(int wavelengthNm, double dBm) const;
    // A reading as a PON or XG-PON page shows it: "Low"/"High" are outside
    // with no margin, a relative reading (dB) cannot be checked.
    Result check(const PowerInfo &info) const;

    // Plain English words for files ("within", "below sensitivity",
    // "overload", "below launch range", "above launch range", "" when not
    // checked) and the margin as a number text ("" when there is none).
    static QString verdictWord(const Result &result);
    static QString marginText(const Result &result);
    // Translated texts for the window.
    static QString verdictText(const Result &result);
    QString toolTip(const Result &result) const;
    QString summary(const Tally &tally) const;

private:
    OpticalClass chosen;
    Limits video;
    bool active = false;
};
