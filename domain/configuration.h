#pragma once
// The program's only persistent setting (the interface language) and the two
// translators that apply it. One instance per process, created on first use.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>

class QSettings;

class Configuration : public QObject
{
    Q_OBJECT
public:
    // 0 English, 1 Chinese; any other stored code loads no translation.
    enum Language { English = 0, Chinese = 1 };

    static Configuration *instance();
    ~Configuration() override;

    int getLanguage() const;
    // Keeps the code in memory only; the file is written by saveLanguage().
    void setLanguage(int language, bool reload);
    void saveLanguage();
    void loadTranslators();
    // Records the language the main window now being built uses.
    void updateLanguageForUI();
    static int languageForUI();

    // The family registered from the embedded heavy font by registerHeavyFont()
    // (empty until then, or when the font could not be registered).
    static QString heavyFontFamily();
    static QString registerHeavyFont();

    // The folders searched, in order, for "language" and "translations":
    // the working directory, beside the executable, the installed data folder.
    static QStringList translationRoots();

    QString settingsPath() const { return settingsFilePath; }

private:
    friend class TestConfiguration; // builds separate instances on test settings files
    explicit Configuration(QObject *parent);
    static QString findFile(const QString &folder, const QString &fileName);

    int language = English;
    QString settingsFilePath;
    QSettings *settings = nullptr;
    QTranslator qtTranslator;
    QTranslator appTranslator;
};
