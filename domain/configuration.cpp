#include "configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#ifndef LUMISK_DATA_DIR
#define LUMISK_DATA_DIR "/usr/local/share/lumisk"
#endif

namespace {
constexpr char SettingsFileName[] = "/settings.ini";
constexpr char LanguageKey[] = "language";
constexpr int NoStoredLanguage = -1;

constexpr char AppFolder[] = "language";
constexpr char QtFolder[] = "translations";
constexpr char AppFileEnglish[] = "language_en.qm";
constexpr char AppFileChinese[] = "language_zh.qm";
// There is no English catalogue of Qt's own texts; its load fails quietly
// and Qt keeps its built-in English.
constexpr char QtFileEnglish[] = "qt-en.qm";
constexpr char QtFileChinese[] = "qt_zh_TW.qm";

// The language of the main window on screen; set each time one is built.
qint8 uiLanguage = Configuration::English;
} // namespace

Configuration *Configuration::instance()
{
    static Configuration *configuration = new Configuration(QCoreApplication::instance());
    return configuration;
}

Configuration::Configuration(QObject *parent)
    : QObject(parent)
{
    settingsFilePath = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
                       + QLatin1String(SettingsFileName);
    settings = new QSettings(settingsFilePath, QSettings::IniFormat);
    language = settings->value(LanguageKey, NoStoredLanguage).toInt();
    if (language == NoStoredLanguage) {
        // Nothing chosen yet: follow the system, but leave the file alone so
        // that a later change of the system language still applies.
        language = QLocale().language() == QLocale::Chinese ? Chinese : English;
    }
}

Configuration::~Configuration()
{
    delete settings;
}

int Configuration::getLanguage() const
{
    return language;
}

void Configuration::setLanguage(int newLanguage, bool reload)
{
    language = newLanguage;
    if (reload)
        loadTranslators();
}

void Configuration::saveLanguage()
{
    settings->setValue(LanguageKey, language);
    settings->sync();
}

QStringList Configuration::translationRoots()
{
    // The working directory comes first so that a build tree or a portable
    // copy started from its own folder uses its own files; the other two let
    // an installed program find its translations from wherever it starts.
    QStringList roots{QDir::currentPath()};
    if (QCoreApplication::instance())
        roots << QCoreApplication::applicationDirPath();
    roots << QStringLiteral(LUMISK_DATA_DIR);
    roots.removeDuplicates();
    return roots;
}

QString Configuration::findFile(const QString &folder, const QString &fileName)
{
    for (const QString &root : translationRoots()) {
        const QString dir = root + QLatin1Char('/') + folder;
        if (QFileInfo(dir + QLatin1Char('/') + fileName).isFile())
            return dir;
    }
    // Not found anywhere: the load below fails quietly, as in the plain
    // relative lookup.
    return QStringLiteral("./") + folder;
}

void Configuration::loadTranslators()
{
    QString appFile;
    QString qtFile;
    if (language == English) {
        appFile = QLatin1String(AppFileEnglish);
        qtFile = QLatin1String(QtFileEnglish);
    } else if (language == Chinese) {
        appFile = QLatin1String(AppFileChinese);
        qtFile = QLatin1String(QtFileChinese);
    }

    // A failed load leaves the translator empty, so the source texts show.
    if (appFile.isEmpty())
        appTranslator.load(QString());
    else
        appTranslator.load(appFile, findFile(QLatin1String(AppFolder), appFile));
    if (qtFile.isEmpty())
        qtTranslator.load(QString());
    else
        qtTranslator.load(qtFile, findFile(QLatin1String(QtFolder), qtFile));

    // Installing the same object twice would list it twice; take it out first.
    QCoreApplication::removeTranslator(&appTranslator);
    QCoreApplication::removeTranslator(&qtTranslator);
    QCoreApplication::installTranslator(&appTranslator);
    QCoreApplication::installTranslator(&qtTranslator);
}

void Configuration::updateLanguageForUI()
{
    uiLanguage = static_cast<qint8>(getLanguage());
}

int Configuration::languageForUI()
{
    return uiLanguage;
}
