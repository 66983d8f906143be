<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Version </source>
        <translation>版本 </translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
</context>
<context>
    <name>ChartForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>Wavelength:</source>
        <translation>波长：</translation>
    </message>
    <message>
        <source>nm</source>
        <translation>nm</translation>
    </message>
    <message>
        <source>Power:</source>
        <translation>功率：</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>dBm</translation>
    </message>
    <message>
        <source>Freqency:</source>
        <translation>频率：</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Save Fail,No Data!</source>
        <translation>保存失败，没有数据！</translation>
    </message>
    <message>
        <source>Report exported</source>
        <translation>报表已导出</translation>
    </message>
    <message>
        <source>Failed to export report</source>
        <translation>报表导出失败</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>Wave.</source>
        <translation>波长</translation>
    </message>
    <message>
        <source>Freq.</source>
        <translation>频率</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Whether to clear existing datas?</source>
        <translation>是否清除现有数据？</translation>
    </message>
</context>
<context>
    <name>ConnectDialog</name>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>波特率</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Connect device</source>
        <translation>连接设备</translation>
    </message>
</context>
<context>
    <name>DoubleExcelItem</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>-80.00</source>
        <translation>-80.00</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>dBm</translation>
    </message>
</context>
<context>
    <name>HistoryForm</name>
    <message>
        <source>unfinished</source>
        <translation>未结束</translation>
    </message>
    <message>
        <source>Single wavelength</source>
        <translation>单波长</translation>
    </message>
    <message>
        <source>Multi-wavelength</source>
        <translation>多波长</translation>
    </message>
    <message>
        <source>Partial wavelength</source>
        <translation>部分波长</translation>
    </message>
    <message>
        <source>PON</source>
        <translation>PON</translation>
    </message>
    <message>
        <source>XG-PON</source>
        <translation>XG-PON</translation>
    </message>
    <message>
        <source>Live run</source>
        <translation>实时测量</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>仪表</translation>
    </message>
    <message>
        <source>Family</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Records or readings</source>
        <translation>记录或读数</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>技术员</translation>
    </message>
    <message>
        <source>From any day</source>
        <translation>起始日期不限</translation>
    </message>
    <message>
        <source>To any day</source>
        <translation>结束日期不限</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>All meters</source>
        <translation>全部仪表</translation>
    </message>
    <message>
        <source>Delete the session of %1 from the history?</source>
        <translation>要从历史记录中删除 %1 的记录吗？</translation>
    </message>
    <message>
        <source>The session could not be deleted.</source>
        <translation>无法删除该记录。</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>History is off: the folder of %1 cannot be created.</source>
        <translation>历史记录已关闭：无法创建 %1 所在的文件夹。</translation>
    </message>
    <message>
        <source>History is off: %1 cannot be opened (%2).</source>
        <translation>历史记录已关闭：无法打开 %1（%2）。</translation>
    </message>
    <message>
        <source>History is off: %1 is no history database (%2).</source>
        <translation>历史记录已关闭：%1 不是历史数据库（%2）。</translation>
    </message>
    <message>
        <source>The history database %1 comes from a newer Lumisk (version %2; this one knows up to %3). History is read-only.</source>
        <translation>历史数据库 %1 来自更新版本的 Lumisk（版本 %2；本程序最高支持 %3）。历史记录为只读。</translation>
    </message>
    <message>
        <source>History is off: %1 cannot be written (%2).</source>
        <translation>历史记录已关闭：无法写入 %1（%2）。</translation>
    </message>
    <message>
        <source>History is off: %1 cannot be brought up to date (%2).</source>
        <translation>历史记录已关闭：无法升级 %1（%2）。</translation>
    </message>
    <message>
        <source>History is read-only from now on: %1 (%2).</source>
        <translation>历史记录自此为只读：%1（%2）。</translation>
    </message>
    <message>
        <source>a session cannot be added</source>
        <translation>无法添加会话</translation>
    </message>
    <message>
        <source>a session cannot be closed</source>
        <translation>无法结束会话</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>a record cannot be added</source>
        <translation>无法添加记录</translation>
    </message>
    <message>
        <source>a reading cannot be added</source>
        <translation>无法添加读数</translation>
    </message>
    <message>
        <source>a live reading cannot be added</source>
        <translation>无法添加实时读数</translation>
    </message>
    <message>
        <source>The history file %1 was damaged; it is kept as %2 and history starts afresh.</source>
        <translation>历史文件 %1 已损坏；已保留为 %2，历史记录重新开始。</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Application needs to be restarted 
 to apply the language change.
Restart it now?</source>
        <translation>需要重新启动应用程序
才能使语言更改生效。
现在重新启动吗？</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lumisk</source>
        <translation>Lumisk</translation>
    </message>
    <message>
        <source>No connection</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Sampling rate</source>
        <translation>采样间隔</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>Sampling time</source>
        <translation>采样时长</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>OPM</source>
        <translation>光功率计</translation>
    </message>
    <message>
        <source>MultiWave OPM</source>
        <translation>多波长光功率计</translation>
    </message>
    <message>
        <source>PartialWave OPM</source>
        <translation>分波长光功率计</translation>
    </message>
    <message>
        <source>PON OPM</source>
        <translation>PON光功率计</translation>
    </message>
    <message>
        <source>XG-PON</source>
        <translation>XG-PON</translation>
    </message>
    <message>
        <source>FTTx</source>
        <translation>FTTx</translation>
    </message>
    <message>
        <source>Real-time curve</source>
        <translation>实时曲线</translation>
    </message>
    <message>
        <source>2020/8/17 13:20</source>
        <translation>2020/8/17 13:20</translation>
    </message>
    <message>
        <source>0s</source>
        <translation>0s</translation>
    </message>
    <message>
        <source>Failed to connect device</source>
        <translation>连接设备失败</translation>
    </message>
    <message>
        <source>Time has been synchronized</source>
        <translation>时间已同步</translation>
    </message>
    <message>
        <source>Device has no RTC</source>
        <translation>设备没有实时时钟</translation>
    </message>
    <message>
        <source>Can not switch tab when it&apos;s importing datas</source>
        <translation>正在导入数据，不能切换页面</translation>
    </message>
    <message>
        <source>Whether to stop importing datas?</source>
        <translation>是否停止导入数据？</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>Data has not been saved.
Do you want to save the data first?</source>
        <translation>数据尚未保存。
是否先保存数据？</translation>
    </message>
    <message>
        <source>Varden_Lumisk</source>
        <translation>Varden_Lumisk</translation>
    </message>
    <message>
        <source>Sample count can not greater than 65535</source>
        <translation>采样点数不能超过65535</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Live runs cannot be opened from the history yet.</source>
        <translation>实时测量暂不能从历史记录中打开。</translation>
    </message>
</context>
<context>
    <name>MenuWidget</name>
    <message>
        <source>Connect device</source>
        <translation>连接设备</translation>
    </message>
    <message>
        <source>Synchronize time</source>
        <translation>同步时间</translation>
    </message>
    <message>
        <source>Operational instruction</source>
        <translation>操作说明</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>No longer prompt</source>
        <translation>不再提示</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>MultiWaveOpmForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>MultiWaveOpmItem</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>No.:</source>
        <translation>序号：</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power:</source>
        <translation>功率：</translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation>参考(dBm)</translation>
    </message>
</context>
<context>
    <name>OpmForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation>参考(dBm)</translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation>功率(W)</translation>
    </message>
    <message>
        <source>Freq.(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
</context>
<context>
    <name>OpmXlsx</name>
    <message>
        <source>OPM single wave datas</source>
        <translation>OPM单波长数据</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date time</source>
        <translation>日期时间</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation>功率(W)</translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
    <message>
        <source>OPM muti wave datas</source>
        <translation>OPM多波长数据</translation>
    </message>
</context>
<context>
    <name>PageWidget</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>PartialOpmForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation>参考(dBm)</translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation>功率(W)</translation>
    </message>
    <message>
        <source>Freq.(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
</context>
<context>
    <name>PartialOpmXlsx</name>
    <message>
        <source>OPM single wave datas</source>
        <translation>OPM单波长数据</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date time</source>
        <translation>日期时间</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation>功率(W)</translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
</context>
<context>
    <name>PartialopmWave</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>文本标签</translation>
    </message>
</context>
<context>
    <name>PonOpmForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>ONT(1310nm)</source>
        <translation>ONT(1310nm)</translation>
    </message>
    <message>
        <source>OLT(1490nm)</source>
        <translation>OLT(1490nm)</translation>
    </message>
    <message>
        <source>VDO(1550nm)</source>
        <translation>VDO(1550nm)</translation>
    </message>
</context>
<context>
    <name>PonSingleWaveItem</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>文本标签</translation>
    </message>
</context>
<context>
    <name>PonXlsx</name>
    <message>
        <source>PON OPM datas</source>
        <translation>PON光功率数据</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date time</source>
        <translation>日期时间</translation>
    </message>
    <message>
        <source>ONT power(1310nm)</source>
        <translation>ONT功率(1310nm)</translation>
    </message>
    <message>
        <source>ONT power unit</source>
        <translation>ONT功率单位</translation>
    </message>
    <message>
        <source>OLT power(1490nm)</source>
        <translation>OLT功率(1490nm)</translation>
    </message>
    <message>
        <source>OLT power unit</source>
        <translation>OLT功率单位</translation>
    </message>
    <message>
        <source>VDO power(1550nm)</source>
        <translation>VDO功率(1550nm)</translation>
    </message>
    <message>
        <source>VDO power unit</source>
        <translation>VDO功率单位</translation>
    </message>
</context>
<context>
    <name>PowerItem</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>-80.00</source>
        <translation>-80.00</translation>
    </message>
    <message>
        <source>dBm</source>
        <translation>dBm</translation>
    </message>
</context>
<context>
    <name>RealTimeXlsx</name>
    <message>
        <source>OPM real-time values</source>
        <translation>OPM实时数据</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power(dBm)</source>
        <translation>功率(dBm)</translation>
    </message>
    <message>
        <source>Freqency(Hz)</source>
        <translation>频率(Hz)</translation>
    </message>
</context>
<context>
    <name>RecordPage</name>
    <message>
        <source>Save Fail,No Data!</source>
        <translation>保存失败，没有数据！</translation>
    </message>
    <message>
        <source>Report exported</source>
        <translation>报表已导出</translation>
    </message>
    <message>
        <source>Failed to export report</source>
        <translation>报表导出失败</translation>
    </message>
</context>
<context>
    <name>SetTimeDialog</name>
    <message>
        <source>Hours</source>
        <translation>小时</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>分钟</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Set time</source>
        <translation>设置时间</translation>
    </message>
</context>
<context>
    <name>XGPonForm</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>XGPonItem</name>
    <message>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <source>No.:</source>
        <translation>序号：</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>Wave.(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power value:</source>
        <translation>功率值：</translation>
    </message>
    <message>
        <source>REF(dBm)</source>
        <translation>参考(dBm)</translation>
    </message>
</context>
<context>
    <name>XGPonXlsx</name>
    <message>
        <source>XG-PON datas</source>
        <translation>XG-PON数据</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date Time</source>
        <translation>日期时间</translation>
    </message>
    <message>
        <source>Wavelength(nm)</source>
        <translation>波长(nm)</translation>
    </message>
    <message>
        <source>Power(lg)</source>
        <translation>功率(lg)</translation>
    </message>
    <message>
        <source>Power(W)</source>
        <translation>功率(W)</translation>
    </message>
</context>
</TS>
