#pragma once
// Reads a report workbook back through openpyxl (dump_xlsx.py) so the tests
// see what a spreadsheet program would see.

#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

struct WorkbookDump
{
    QJsonObject root;
    QString error;

    static WorkbookDump read(const QString &file)
    {
        WorkbookDump dump;
        QString output;
        const int code = testsupport::runPython(QStringLiteral("report/dump_xlsx.py"), {file}, &output);
        if (code != 0) {
            dump.error = output;
            return dump;
        }
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(output.toUtf8(), &parseError);
        if (parseError.error != QJsonParseError::NoError)
            dump.error = parseError.errorString() + QLatin1Char(' ') + output;
        dump.root = doc.object();
        return dump;
    }

    bool ok() const { return error.isEmpty(); }
    QJsonObject cells() const { return root.value(QStringLiteral("cells")).toObject(); }
    bool has(const QString &cell) const
    {
        return cells().contains(cell) && !cells().value(cell).toObject().value(QStringLiteral("value")).isNull();
    }
    QJsonObject cell(const QString &name) const { return cells().value(name).toObject(); }
    QString text(const QString &name) const { return cell(name).value(QStringLiteral("value")).toString(); }
    QString type(const QString &name) const { return cell(name).value(QStringLiteral("type")).toString(); }
    QString fill(const QString &name) const { return cell(name).value(QStringLiteral("fill")).toString(); }
    // Thin borders on all four sides, centred both ways.
    bool framed(const QString &name) const
    {
        const QJsonObject c = cell(name);
        return c.value(QStringLiteral("thin")).toBool() && c.value(QStringLiteral("h")).toString() == QLatin1String("center")
            && c.value(QStringLiteral("v")).toString() == QLatin1String("center");
    }
    QStringList merges() const
    {
        QStringList list;
        for (const auto &value : root.value(QStringLiteral("merges")).toArray())
            list << value.toString();
        return list;
    }
    QString sheet() const { return root.value(QStringLiteral("sheets")).toArray().first().toString(); }
    int sheetCount() const { return root.value(QStringLiteral("sheets")).toArray().size(); }
};

// The one file a save left in dir, which must end with suffix.
inline QString onlyReport(const QString &dir)
{
    const QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    return files.size() == 1 ? dir + QLatin1Char('/') + files.first() : QString();
}

inline bool namedLikeReport(const QString &path, const QString &suffix)
{
    static const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}"));
    const QString name = QFileInfo(path).fileName();
    return name.endsWith(suffix) && stamp.match(name).hasMatch()
        && name.size() == QStringLiteral("yyyy-MM-dd-HH-mm-ss").size() + suffix.size();
}
