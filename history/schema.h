#pragma once
// The history's tables and views in its two homes, side by side: the file
// on this PC (SQLite) and the team server (PostgreSQL). Each grows by steps,
// one per version, and one runner brings either up to date; each keeps its
// version its own way (the file in PRAGMA user_version, the server in its
// table lumisk_schema, under an advisory lock and the server's time limits).
// Steps are only ever appended: a released step never changes, so a file or
// a server made long ago ends up as a fresh one.
//
// Also how the history reads rows: by column name, never by place.

#include <QList>
#include <QSqlError>
#include <QSqlRecord>
#include <QStringList>

class QSqlDatabase;
class QSqlQuery;

namespace Schema {

enum class Home { File, Server };

// The steps of a home, step i leading to version i + 1.
const QList<QStringList> &steps(Home home);
// The version this program makes: the number of its steps.
int version(Home home);

struct Migration {
    enum class Result {
        Done,       // at version(home) now
        Newer,      // a later Lumisk's: left as it is
        Unwritable, // the write lock or a commit was refused
        Failed      // a statement of a step failed; that step was undone
    };
    Result result = Result::Done;
    int found = 0; // the version the database had when the last step began
    QSqlError error;
};
// Brings the database up to version(home), one transaction per step. The
// version is read again under the home's lock before each step, so two
// programs opening the same database at once never make a step twice.
Migration migrate(QSqlDatabase &db, Home home);

// The columns of a query by name, each looked up once after exec() and then
// read on every row by its place: a reader names what it reads, and a SELECT
// can gain or reorder columns without a reader taking the wrong one.
class Fields
{
public:
    explicit Fields(const QSqlQuery &query);
    // The column's place; -1 when the query has no column of that name.
    int operator[](const char *name) const { return record.indexOf(QLatin1String(name)); }

private:
    QSqlRecord record;
};

} // namespace Schema
