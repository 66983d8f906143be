#pragma once
// What the history tests share: the five record families as a data table, a
// record decoded by its page's frame from the simulator's answer, a stand-in
// meter session, and one number read straight from the database file.

#include "history/historystore.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "records.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <functional>
#include <memory>

using MakeFrame = std::function<Frame *()>;
using MakeRecord = std::function<StoredRecord(int)>;
Q_DECLARE_METATYPE(MakeFrame)
Q_DECLARE_METATYPE(MakeRecord)

namespace historytest {

// Columns family, makeFrame, makeRecord; one row per family.
inline void addFamilies()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<MakeFrame>("makeFrame");
    QTest::addColumn<MakeRecord>("makeRecord");
    QTest::newRow("single") << "single" << MakeFrame([] { return new OpmValueFrame(nullptr); })
                            << MakeRecord(records::generatedSingle);
    QTest::newRow("multi") << "multi" << MakeFrame([] { return new OpmValueFrame(nullptr); })
                           << MakeRecord(records::generatedMulti);
    QTest::newRow("partial") << "partial" << MakeFrame([] { return new PartialOpmValueFrame(nullptr); })
                             << MakeRecord(records::generatedPartial);
    QTest::newRow("pon") << "pon" << MakeFrame([] { return new PonFrame(nullptr); }) << MakeRecord(records::generatedPon);
    QTest::newRow("xgpon") << "xgpon" << MakeFrame([] { return new PonFrame(nullptr); })
                           << MakeRecord(records::generatedXgPon);
}

// The record as the frame of its page decodes it from the simulator's answer.
inline HistoryStore::Record decoded(const QString &family, const MakeFrame &makeFrame, const StoredRecord &sent)
{
    std::unique_ptr<Frame> frame(makeFrame());
    if (frame->feed(wire::answer(sent.code, sent.fourth, sent.payload)) != DataOk)
        return {};
    return HistoryStore::recordFrom(family, frame.get());
}

inline HistoryStore::Session meter(const QString &kind, const QString &model = QStringLiteral("LM-300"))
{
    HistoryStore::Session session;
    session.kind = kind;
    session.meterModel = model;
    session.meterVersion = QStringLiteral("1.2");
    session.meterKind = 5;
    session.technician = QStringLiteral("ana");
    session.host = QStringLiteral("bench-pc");
    return session;
}

// The first column of the first row of a query on the file; -1 when none.
inline int scalar(const QString &file, const QString &sql)
{
    int value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("counter"));
        db.setDatabaseName(file);
        QSqlQuery query(db);
        if (db.open() && query.exec(sql) && query.next())
            value = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("counter"));
    return value;
}

// Whether the writer has indexed the name of every record (it does so in
// its idle time).
inline bool namesIndexed(const QString &file)
{
    return scalar(file, QStringLiteral("SELECT (SELECT upto FROM record_names_indexed)"
                                       " >= (SELECT coalesce(max(id), 0) FROM records)"))
        == 1;
}

// Whether the names' index holds exactly the names of the records it says
// it has indexed (FTS5's own check).
inline bool namesIndexConsistent(const QString &file)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("names"));
        db.setDatabaseName(file);
        ok = db.open()
            && QSqlQuery(db).exec(QStringLiteral("INSERT INTO record_names (record_names) VALUES ('integrity-check')"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("names"));
    return ok;
}

} // namespace historytest
