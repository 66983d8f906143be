#pragma once
// The simulated meter: its identity, the records it holds and the answer it
// gives to each request (faults aside).

#include "records.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QVector>

// One request as the host sent it: class, command, parameters.
struct Request {
    quint8 requestClass = 0;
    quint8 command = 0;
    QByteArray parameters;
    QByteArray bytes;
    // The record number of a record request, else -1.
    int recordNumber() const;
    bool isRecordRequest() const;
};

class Meter
{
public:
    enum Family { Single, Multi, Partial, Pon, XgPon, FamilyCount };

    // Commands of the meter.
    static constexpr quint8 DevType = 0x01;
    static constexpr quint8 SetClock = 0x02;
    static constexpr quint8 DevModel = 0x03;
    static constexpr quint8 DevVersion = 0x04;
    static constexpr quint8 SingleRecord = 0x06;
    static constexpr quint8 MultiRecord = 0x07;
    static constexpr quint8 RealTime = 0x08;
    static constexpr quint8 PonRecord = 0x09;
    static constexpr quint8 XgPonRecord = 0x0A;
    static constexpr quint8 PonCount = 0x0D;
    static constexpr quint8 OpmCount = 0x0E;
    static constexpr quint8 MultiCount = 0x16;
    static constexpr quint8 QueryClass = 0x01;
    static constexpr quint8 SettingClass = 0x02;

    Meter();

    // The kind's own model text and version unless given.
    void applyKindDefaults();
    // Made-up records for every family the kind keeps and no scenario gave.
    void generateRecords(int count);
    // Identity and records from a scenario file; false with a reason.
    bool loadScenario(const QString &path, QString *error);

    QByteArray answerFor(const Request &request);

    int kind = 5;
    int range = 1;
    int byte2 = 0;
    bool recordPages = true;
    bool rtc = true;
    QByteArray model;
    QByteArray version;
    QVector<StoredRecord> stored[FamilyCount];
    QVector<Reading> liveScript; // cycled when given, else a made-up curve
    bool fromScenario[FamilyCount] = {};
    int generateCount = -1; // asked for by a scenario

private:
    bool offers(Family family) const;
    bool offersRealTime() const;
    Family recordFamily(quint8 command) const;
    QByteArray recordAnswer(Family family, int number) const;
    QByteArray countAnswer(quint8 command, int count) const;

    QElapsedTimer clock;
    int liveIndex = 0;
};
