// The stored language, its fallback to the system locale, and where the
// translators are found.

#include "domain/configuration.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QRawFont>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestConfiguration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void noFileFollowsLocale_data();
    void noFileFollowsLocale();
    void storedLanguageWins_data();
    void storedLanguageWins();
    void saveRoundTrip();
    void languageForUIFollowsWindowBuild();
    void loadsFromWorkingDirectory();
    void unknownCodeLoadsNothing();
    void findsTranslationsBesideExecutable();
    void heavyFontCoversPageButtons();
    void unsavedChoiceIsSeenProcessWide();

private:
    // A fresh Configuration reading the test settings file, as at start-up.
    std::unique_ptr<Configuration> create() { return std::unique_ptr<Configuration>(new Configuration(nullptr)); }
    QString settingsFile() const;
    void writeLanguage(const QVariant &value);
    // Compiles a one-message catalogue "language_zh.qm" into dir/language.
    bool makeCatalogue(const QString &dir, const QString &chinese);
    static QString hello() { return QCoreApplication::translate("TestConfiguration", "Hello"); }

    QString startDir;
    QLocale startLocale;
    QTemporaryDir work;
};

void TestConfiguration::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    startDir = QDir::currentPath();
    startLocale = QLocale();
    QVERIFY(work.isValid());
}

void TestConfiguration::init()
{
    QFile::remove(settingsFile());
    QVERIFY(QDir::setCurrent(work.path()));
}

void TestConfiguration::cleanup()
{
    QLocale::setDefault(startLocale);
    QFile::remove(settingsFile());
    QDir::setCurrent(startDir);
}

QString TestConfiguration::settingsFile() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/settings.ini");
}

void TestConfiguration::writeLanguage(const QVariant &value)
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("language"), value);
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
}

bool TestConfiguration::makeCatalogue(const QString &dir, const QString &chinese)
{
    if (!QDir().mkpath(dir + QStringLiteral("/language")))
        return false;
    const QString ts = dir + QStringLiteral("/language/language_zh.ts");
    QFile file(ts);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS>"
                              "<TS version=\"2.1\" language=\"zh_CN\"><context><name>TestConfiguration</name>"
                              "<message><source>Hello</source><translation>%1</translation></message>"
                              "</context></TS>")
                   .arg(chinese)
                   .toUtf8());
    file.close();
    const QString lrelease = QLibraryInfo::location(QLibraryInfo::BinariesPath) + QStringLiteral("/lrelease");
    const int code = QProcess::execute(lrelease, {QStringLiteral("-silent"), ts,
                                                  QStringLiteral("-qm"), dir + QStringLiteral("/language/language_zh.qm")});
    QFile::remove(ts);
    return code == 0;
}

void TestConfiguration::noFileFollowsLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("language");
    QTest::newRow("zh_CN") << "zh_CN" << 1;
    QTest::newRow("zh_TW") << "zh_TW" << 1;
    QTest::newRow("en_US") << "en_US" << 0;
    QTest::newRow("de_DE") << "de_DE" << 0;
}

void TestConfiguration::noFileFollowsLocale()
{
    QFETCH(QString, locale);
    QFETCH(int, language);
    QLocale::setDefault(QLocale(locale));
    {
        auto configuration = create();
        QCOMPARE(configuration->getLanguage(), language);
        QCOMPARE(configuration->settingsPath(), settingsFile());
        configuration->loadTranslators();
    }
    // Reading the setting, and dropping the object, never creates the file.
    QVERIFY(!QFile::exists(settingsFile()));
}

void TestConfiguration::storedLanguageWins_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("language");
    QTest::newRow("0 on a Chinese system") << "zh_CN" << QVariant(0) << 0;
    QTest::newRow("1 on an English system") << "en_US" << QVariant(1) << 1;
    QTest::newRow("7 kept as is") << "zh_CN" << QVariant(7) << 7;
    QTest::newRow("text that is no number") << "en_US" << QVariant(QStringLiteral("chinese")) << 0;
}

void TestConfiguration::storedLanguageWins()
{
    QFETCH(QString, locale);
    QFETCH(QVariant, stored);
    QFETCH(int, language);
    QLocale::setDefault(QLocale(locale));
    writeLanguage(stored);
    QCOMPARE(create()->getLanguage(), language);
}

void TestConfiguration::saveRoundTrip()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    {
        auto configuration = create();
        configuration->setLanguage(1, false);
        QCOMPARE(configuration->getLanguage(), 1);
    }
    // setLanguage alone keeps the choice in memory only.
    QVERIFY(!QFile::exists(settingsFile()));
    QCOMPARE(create()->getLanguage(), 0);

    auto configuration = create();
    configuration->setLanguage(1, false);
    configuration->saveLanguage();
    QVERIFY(QFile::exists(settingsFile()));
    QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).value(QStringLiteral("language")).toInt(), 1);
    QCOMPARE(create()->getLanguage(), 1);

    configuration->setLanguage(0, false);
    configuration->saveLanguage();
    QCOMPARE(create()->getLanguage(), 0);
    // The file holds that single key at the top level.
    QCOMPARE(QSettings(settingsFile(), QSettings::IniFormat).allKeys(), QStringList{QStringLiteral("language")});
}

void TestConfiguration::languageForUIFollowsWindowBuild()
{
    writeLanguage(1);
    auto configuration = create();
    configuration->updateLanguageForUI();
    QCOMPARE(Configuration::languageForUI(), 1);
    // A change not yet applied by a rebuilt window leaves it alone.
    configuration->setLanguage(0, false);
    QCOMPARE(Configuration::languageForUI(), 1);
    configuration->updateLanguageForUI();
    QCOMPARE(Configuration::languageForUI(), 0);
}

void TestConfiguration::loadsFromWorkingDirectory()
{
    QVERIFY(makeCatalogue(work.path(), QStringLiteral("你好")));
    writeLanguage(1);
    auto configuration = create();
    configuration->loadTranslators();
    QCOMPARE(hello(), QStringLiteral("你好"));
    // Loading again switches in place; nothing is left installed twice.
    configuration->setLanguage(0, true);
    QCOMPARE(hello(), QStringLiteral("Hello"));
    configuration->setLanguage(1, true);
    configuration->setLanguage(1, true);
    QCOMPARE(hello(), QStringLiteral("你好"));
    configuration.reset();
    QCOMPARE(hello(), QStringLiteral("Hello"));
}

void TestConfiguration::unknownCodeLoadsNothing()
{
    QVERIFY(makeCatalogue(work.path(), QStringLiteral("你好")));
    writeLanguage(7);
    auto configuration = create();
    configuration->loadTranslators();
    QCOMPARE(hello(), QStringLiteral("Hello"));
    // Switching from Chinese to an unknown code drops the Chinese texts.
    configuration->setLanguage(1, true);
    QCOMPARE(hello(), QStringLiteral("你好"));
    configuration->setLanguage(7, true);
    QCOMPARE(hello(), QStringLiteral("Hello"));
}

void TestConfiguration::findsTranslationsBesideExecutable()
{
    // Started from a folder without translations, the program still finds
    // those installed beside it; the working directory's own copy comes first.
    const QString besideDir = QCoreApplication::applicationDirPath();
    const QString beside = besideDir + QStringLiteral("/language");
    if (QFileInfo::exists(beside))
        QSKIP("a language folder already exists beside the test program");
    const auto removeBeside = qScopeGuard([&beside] { QDir(beside).removeRecursively(); });
    QTemporaryDir empty;
    QVERIFY(QDir::setCurrent(empty.path()));
    QVERIFY(makeCatalogue(besideDir, QStringLiteral("旁边")));
    writeLanguage(1);
    auto configuration = create();
    configuration->loadTranslators();
    const QString fromBeside = hello();

    QVERIFY(makeCatalogue(empty.path(), QStringLiteral("当前")));
    configuration->loadTranslators();
    const QString fromWorking = hello();
    configuration.reset();

    QCOMPARE(fromBeside, QStringLiteral("旁边"));
    QCOMPARE(fromWorking, QStringLiteral("当前"));
    const QStringList roots = Configuration::translationRoots();
    QCOMPARE(roots.value(0), QDir::currentPath());
    QCOMPARE(roots.value(1), besideDir);
}

void TestConfiguration::heavyFontCoversPageButtons()
{
    const QString family = Configuration::registerHeavyFont();
    QCOMPARE(family, QStringLiteral("Lumisk Heavy"));
    QCOMPARE(Configuration::heavyFontFamily(), family);
    QVERIFY(QFontDatabase().families().contains(family));

    // Every character of the page buttons, in the texts of the built Chinese
    // catalogue, must be in the embedded subset.
    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral("language_zh.qm"), QStringLiteral(LUMISK_BUILD_DIR "/language")));
    QFile fontFile(QStringLiteral(":/font/ALIBABA-PUHUITI-HEAVY.ttf"));
    QVERIFY(fontFile.open(QIODevice::ReadOnly));
    const QRawFont font(fontFile.readAll(), 16);
    QVERIFY(font.isValid());
    const char *const texts[] = {"OPM", "MultiWave OPM", "PartialWave OPM", "PON OPM", "XG-PON", "FTTx",
                                 "Real-time curve"};
    for (const char *text : texts) {
        const QString translated = chinese.translate("MainWindow", text);
        for (const QString &shown : {QString::fromLatin1(text), translated})
            for (const QChar c : shown)
                QVERIFY2(font.supportsCharacter(c), qPrintable(QStringLiteral("missing glyph in \"%1\"").arg(shown)));
    }
}

// A language chosen but not saved yet (the language dialog before the
// restart) is what every later reader in the process gets, while the file
// keeps the old one until it is saved.
void TestConfiguration::unsavedChoiceIsSeenProcessWide()
{
    writeLanguage(Configuration::English);
    Configuration *shared = Configuration::instance();
    const int before = shared->getLanguage();
    const int other = before == Configuration::Chinese ? Configuration::English : Configuration::Chinese;
    shared->setLanguage(other, false);
    QCOMPARE(Configuration::instance()->getLanguage(), other);
    QCOMPARE(create()->getLanguage(), int(Configuration::English));
    Configuration::instance()->setLanguage(before, false);
}

LUMISK_TEST(TestConfiguration)
#include "tst_configuration.moc"
