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
        <source>Live runs cannot be opened from the history yet.</source>
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
