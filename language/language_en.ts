<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChartForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dBm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freqency:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Fail,No Data!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to export report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freq.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whether to clear existing datas?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set reference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loss</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: no readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 readings: min %3 / max %4 / mean %5 dBm, SD %6 / p-p %7 dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loss:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Show this help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: lumisk-cli %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The meter&apos;s serial port (a name such as ttyUSB0 or a device path). Without it, the only meter found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line rate in baud (default 9600).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print JSON instead of text.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No progress and no messages but errors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: not a baud rate: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The time to set, ISO 8601 (2024-05-01T08:30:00; with an offset or Z it is taken to the PC&apos;s local time). Default: now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets the meter&apos;s clock (by default to the PC&apos;s local time).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli set-clock: not a time (ISO 8601, 2000 to 2099): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 did not answer when the port was opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter has no clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter did not take the time (answer %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter went away (port closed)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>clock of %1 set to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record family: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>family</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the records to FILE: .xlsx (the window&apos;s report of the page), .csv or .json; - prints JSON lines on stdout.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not keep the records in the history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads every stored record of one family from the meter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli download: --family must be one of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli download: --out takes a .xlsx, .csv or .json file, or -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 (%2) keeps no %3 records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter asked for the link to be opened again, and it could not be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter&apos;s answers kept arriving garbled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter kept answering busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter stopped answering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter refused the request (answer %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>lumisk-cli: %1 after %n record(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) downloaded</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>lumisk-cli: cannot write %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: the records could not be kept in the history (%1): %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history: no session %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only sessions of this meter model.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From this day on (YYYY-MM-DD).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up to this day (YYYY-MM-DD).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists the stored sessions, newest first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history list: not a day (YYYY-MM-DD): %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The session&apos;s number (see history list).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prints the records of a stored download session.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history show: one session number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file: .xlsx (the window&apos;s report), .csv or .json.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history export: one session number and --out with a .xlsx, .csv or .json file</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) written to %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Sends what the team server lacks of the local history, then stops.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history sync: no team server is set ([history] server= in settings.ini)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: lumisk-cli history list|show|export|sync [options] (--help for each)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history: unknown action %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: unknown command %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 %3 (kind %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in use by another program (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no meter answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no valid identity (answer %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: no such serial port: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: no meter on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: no meter found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: %1 meters found; choose one with --port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists every serial port (or every LUMISK_SERIAL_PORTS entry), whether it can be opened and why not, and which meter answers on it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no serial ports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prints the meter&apos;s identity: kind, model, version, range code and the record families it keeps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>port:       %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>model:      %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>version:    %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kind:       %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>range code: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>families:   %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time between readings, 0.5s to 1h in steps of 0.5 s (default 1s).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How long to sample, at most 24h and 65535 readings (default 1m).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the readings to FILE (.xlsx, .csv or .json); - prints JSON lines on stdout. Without it, CSV lines on stdout as they arrive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not keep the readings in the history.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes live readings from the meter at an interval for a while.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli sample: the interval must be 0.5s to 1h in steps of 0.5 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli sample: the duration must be more than 0 and at most 24h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli sample: at most 65535 readings (duration / interval)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli sample: --out takes a .xlsx, .csv or .json file, or -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 (%2) gives no live readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the meter kept refusing live readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>lumisk-cli: %1 after %n reading(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) taken</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>lumisk-cli: the readings could not be kept in the history (%1): %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: cannot write to standard output: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli: what arrived is in %1 (%2 is left as it was)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) written to %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Writes a stored session into a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lumisk-cli history export: session %1 is of an unknown kind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard output failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: lumisk-cli COMMAND [options]

The handheld optical power meter from the command line.

Commands:
  ports                  serial ports, whether they open, which meter answers
  identify               the meter&apos;s identity
  download --family F    every record of a family (single, multi, partial, pon, xgpon)
  sample                 live readings at an interval
  set-clock              the meter&apos;s clock to the PC&apos;s local time (or --time)
  history list|show|export|sync
                         the measurement history

lumisk-cli COMMAND --help shows a command&apos;s options. Without --port the only
meter found is used.

Exit codes: 0 done, 1 error, 2 usage, 3 no meter or several, 4 the meter
refused or kept failing, 5 file, output or history error, 130 interrupted,
141 standard output closed by its reader.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectDialog</name>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect device</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTitleBar</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DoubleExcelItem</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-80.00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dBm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryForm</name>
    <message>
        <source>unfinished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Single wavelength</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multi-wavelength</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Partial wavelength</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XG-PON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Family</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records or readings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Technician</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From any day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To any day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the session of %1 from the history?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The session could not be deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The team server&apos;s sessions cannot be listed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All technicians (team server)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF report…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about every %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find a record by name or number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sessions with a record of this name or number, as the meter labels it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>The password in the history server setting is not used; libpq reads it from ~/.pgpass (or PGPASSFILE, PGPASSWORD).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>History is off: the folder of %1 cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History is off: %1 cannot be opened (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History is off: %1 is no history database (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history database %1 comes from a newer Lumisk (version %2; this one knows up to %3). History is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History is off: %1 cannot be written (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History is off: %1 cannot be brought up to date (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History is read-only from now on: %1 (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a session cannot be added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a session cannot be closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a record cannot be added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a reading cannot be added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a live reading cannot be added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history file %1 was damaged; it is kept as %2 and history starts afresh.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is still being recorded (here, by lumisk-cli or by another Lumisk); it can be deleted once it has ended.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is writing the history; try again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history waits for another program that is writing %1 (another Lumisk, lumisk-cli, a backup or the sqlite3 shell). Nothing is lost: it is written as soon as that program lets go.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The history %1 cannot be read (%2).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistorySync</name>
    <message>
        <source>The team server is not in use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to the team server…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synced</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n waiting</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Server unreachable: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server unreachable: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n waiting: %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application needs to be restarted 
 to apply the language change.
Restart it now?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lumisk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampling time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MultiWave OPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PartialWave OPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PON OPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XG-PON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FTTx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Real-time curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2020/8/17 13:20</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to connect device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time has been synchronized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device has no RTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can not switch tab when it&apos;s importing datas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whether to stop importing datas?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data has not been saved.
Do you want to save the data first?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Varden_Lumisk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample count can not greater than 65535</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This session cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumisk was closed while it recorded %1 (%2, started %3).
Open what was recorded?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads and reports work as before.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MenuWidget</name>
    <message>
        <source>Connect device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronize time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operational instruction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PON class</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF report…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>No longer prompt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MultiWaveOpmForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MultiWaveOpmItem</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpmForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freq.(Hz)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpmXlsx</name>
    <message>
        <source>OPM single wave datas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OPM muti wave datas</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageWidget</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartialOpmForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freq.(Hz)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartialOpmXlsx</name>
    <message>
        <source>OPM single wave datas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PartialopmWave</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfReport</name>
    <message>
        <source>pass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(kind %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meter: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Technician: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sampled: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report made: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength (nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loss (dB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Margin (dB)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pass: %1   Warning: %2   Fail: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 nm: minimum %2 dBm, maximum %3 dBm, mean %4 dBm (%5 readings)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power over %1 readings: minimum %2 dBm, maximum %3 dBm, mean %4 dBm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard deviation %1 dB, peak-to-peak %2 dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lumisk report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonClassCheck</name>
    <message>
        <source>within</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>below launch range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>below sensitivity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>above launch range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>overload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONU receiver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONU transmitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>video receiver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 %3 to %4 dBm: %5, margin %6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 below launch range, %2 above launch range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1 not checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Class %1: %2 within, %3 warning, %4 below sensitivity, %5 overload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonClassDialog</name>
    <message>
        <source>PON class</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No class check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check the readings of each page against the optical class:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PON page (GPON):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XG-PON page (XG-PON, XGS-PON):</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonOpmForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONT(1310nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OLT(1490nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VDO(1550nm)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonSingleWaveItem</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonXlsx</name>
    <message>
        <source>PON OPM datas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONT power(1310nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONT power unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OLT power(1490nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OLT power unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VDO power(1550nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VDO power unit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortDiagnosis</name>
    <message>
        <source>lock file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exclusive use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: permission denied. Serial ports belong to the dialout group: sudo usermod -aG dialout $USER, then log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: held by another program (%2); close it (a serial terminal, ModemManager).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: opened, but no meter answered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: something answered, but not a known meter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the device went away.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: could not be opened (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No serial port found.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PowerItem</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-80.00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dBm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RealTimeXlsx</name>
    <message>
        <source>OPM real-time values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(dBm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordPage</name>
    <message>
        <source>Save Fail,No Data!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report exported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to export report</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerAddress</name>
    <message>
        <source>&quot;%1&quot; has no value (keyword=value expected).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The value of &quot;%1&quot; lacks its closing quote.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The address %1 lacks its closing bracket.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetTimeDialog</name>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartPanel</name>
    <message>
        <source>Team server: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plug in the meter and press Connect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent sessions (one click opens one)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No meter at hand? Try Lumisk with the simulated meter: run scripts/demo (or lumisk-metersim) and press Connect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last scan found no meter. What each port showed:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SyncWorker</name>
    <message>
        <source>the history file cannot be read (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the history file is not of this Lumisk&apos;s version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver is missing (package libqt5sql5-psql)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server setting cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server&apos;s tables cannot be made (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server&apos;s history comes from a newer Lumisk (version %1; this one knows up to %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the history file cannot be written (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the server did not answer within %n s</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>The team server&apos;s sync waits: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowKeys</name>
    <message>
        <source>Connect to the meter, or disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the meter&apos;s records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the measurement history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start or pause the live run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the curve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit the curve to the window again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>XGPonForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>XGPonItem</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>XGPonXlsx</name>
    <message>
        <source>XG-PON datas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(lg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
