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
    <message>
        <source>Set reference</source>
        <translation>设置参考</translation>
    </message>
    <message>
        <source>Loss</source>
        <translation>损耗</translation>
    </message>
    <message>
        <source>%1: no readings</source>
        <translation>%1：无读数</translation>
    </message>
    <message>
        <source>%1, %2 readings: min %3 / max %4 / mean %5 dBm, SD %6 / p-p %7 dB</source>
        <translation>%1，%2 个读数：最小 %3 / 最大 %4 / 平均 %5 dBm，标准差 %6 / 峰峰值 %7 dB</translation>
    </message>
    <message>
        <source>All readings</source>
        <translation>全部读数</translation>
    </message>
    <message>
        <source>In view</source>
        <translation>视图内</translation>
    </message>
    <message>
        <source>Loss:</source>
        <translation>损耗：</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Show this help.</source>
        <translation>显示本帮助。</translation>
    </message>
    <message>
        <source>Usage: lumisk-cli %1 %2</source>
        <translation>用法：lumisk-cli %1 %2</translation>
    </message>
    <message>
        <source>The meter&apos;s serial port (a name such as ttyUSB0 or a device path). Without it, the only meter found.</source>
        <translation>仪表的串口（如 ttyUSB0 的名称或设备路径）。不指定时使用唯一找到的仪表。</translation>
    </message>
    <message>
        <source>port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Line rate in baud (default 9600).</source>
        <translation>波特率（默认 9600）。</translation>
    </message>
    <message>
        <source>rate</source>
        <translation>速率</translation>
    </message>
    <message>
        <source>Print JSON instead of text.</source>
        <translation>以 JSON 代替文本输出。</translation>
    </message>
    <message>
        <source>No progress and no messages but errors.</source>
        <translation>不显示进度，只显示错误信息。</translation>
    </message>
    <message>
        <source>lumisk-cli: not a baud rate: %1</source>
        <translation>lumisk-cli：不是有效的波特率：%1</translation>
    </message>
    <message>
        <source>The time to set, ISO 8601 (2024-05-01T08:30:00; with an offset or Z it is taken to the PC&apos;s local time). Default: now.</source>
        <translation>要设置的时间，ISO 8601 格式（2024-05-01T08:30:00；带时差或 Z 时换算为电脑本地时间）。默认：现在。</translation>
    </message>
    <message>
        <source>time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Sets the meter&apos;s clock (by default to the PC&apos;s local time).</source>
        <translation>设置仪表时钟（默认为电脑本地时间）。</translation>
    </message>
    <message>
        <source>lumisk-cli set-clock: not a time (ISO 8601, 2000 to 2099): %1</source>
        <translation>lumisk-cli set-clock：不是有效时间（ISO 8601，2000 至 2099 年）：%1</translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 did not answer when the port was opened</source>
        <translation>lumisk-cli：打开端口时 %1 上的仪表没有应答</translation>
    </message>
    <message>
        <source>the meter has no clock</source>
        <translation>仪表没有时钟</translation>
    </message>
    <message>
        <source>the meter did not take the time (answer %1)</source>
        <translation>仪表未接受时间（应答 %1）</translation>
    </message>
    <message>
        <source>the meter went away (port closed)</source>
        <translation>仪表已断开（端口关闭）</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>已中断</translation>
    </message>
    <message>
        <source>clock of %1 set to %2</source>
        <translation>%1 的时钟已设为 %2</translation>
    </message>
    <message>
        <source>Record family: %1.</source>
        <translation>记录类别：%1。</translation>
    </message>
    <message>
        <source>family</source>
        <translation>类别</translation>
    </message>
    <message>
        <source>Write the records to FILE: .xlsx (the window&apos;s report of the page), .csv or .json; - prints JSON lines on stdout.</source>
        <translation>将记录写入文件：.xlsx（与窗口中该页面的报表相同）、.csv 或 .json；- 表示在标准输出逐行输出 JSON。</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Do not keep the records in the history.</source>
        <translation>不将记录保存到历史。</translation>
    </message>
    <message>
        <source>Downloads every stored record of one family from the meter.</source>
        <translation>从仪表下载某一类别的全部存储记录。</translation>
    </message>
    <message>
        <source>lumisk-cli download: --family must be one of %1</source>
        <translation>lumisk-cli download：--family 必须是 %1 之一</translation>
    </message>
    <message>
        <source>lumisk-cli download: --out takes a .xlsx, .csv or .json file, or -</source>
        <translation>lumisk-cli download：--out 需要 .xlsx、.csv 或 .json 文件，或 -</translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 (%2) keeps no %3 records</source>
        <translation>lumisk-cli：%1 上的仪表（%2）没有 %3 记录</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 记录</translation>
    </message>
    <message>
        <source>the meter asked for the link to be opened again, and it could not be</source>
        <translation>仪表要求重新打开连接，但无法重新打开</translation>
    </message>
    <message>
        <source>the meter&apos;s answers kept arriving garbled</source>
        <translation>仪表的应答持续损坏</translation>
    </message>
    <message>
        <source>the meter kept answering busy</source>
        <translation>仪表持续应答忙</translation>
    </message>
    <message>
        <source>the meter stopped answering</source>
        <translation>仪表停止应答</translation>
    </message>
    <message>
        <source>the meter refused the request (answer %1)</source>
        <translation>仪表拒绝了请求（应答 %1）</translation>
    </message>
    <message numerus="yes">
        <source>lumisk-cli: %1 after %n record(s)</source>
        <translation>
            <numerusform>lumisk-cli：%1，已收到 %n 条记录</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) downloaded</source>
        <translation>
            <numerusform>已下载 %n 条记录</numerusform>
        </translation>
    </message>
    <message>
        <source>lumisk-cli: cannot write %1</source>
        <translation>lumisk-cli：无法写入 %1</translation>
    </message>
    <message>
        <source>lumisk-cli: the records could not be kept in the history (%1): %2</source>
        <translation>lumisk-cli：记录无法保存到历史（%1）：%2</translation>
    </message>
    <message>
        <source>lumisk-cli history: no session %1</source>
        <translation>lumisk-cli history：没有会话 %1</translation>
    </message>
    <message>
        <source>Only sessions of this meter model.</source>
        <translation>仅此仪表型号的会话。</translation>
    </message>
    <message>
        <source>model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>From this day on (YYYY-MM-DD).</source>
        <translation>从这一天起（YYYY-MM-DD）。</translation>
    </message>
    <message>
        <source>day</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Up to this day (YYYY-MM-DD).</source>
        <translation>直到这一天（YYYY-MM-DD）。</translation>
    </message>
    <message>
        <source>Lists the stored sessions, newest first.</source>
        <translation>列出存储的会话，最新的在前。</translation>
    </message>
    <message>
        <source>lumisk-cli history list: not a day (YYYY-MM-DD): %1</source>
        <translation>lumisk-cli history list：不是有效日期（YYYY-MM-DD）：%1</translation>
    </message>
    <message>
        <source>The session&apos;s number (see history list).</source>
        <translation>会话编号（见 history list）。</translation>
    </message>
    <message>
        <source>Prints the records of a stored download session.</source>
        <translation>输出一个已存储下载会话的记录。</translation>
    </message>
    <message>
        <source>lumisk-cli history show: one session number</source>
        <translation>lumisk-cli history show：需要一个会话编号</translation>
    </message>
    <message>
        <source>The file: .xlsx (the window&apos;s report), .csv or .json.</source>
        <translation>文件：.xlsx（与窗口的报表相同）、.csv 或 .json。</translation>
    </message>
    <message>
        <source>lumisk-cli history export: one session number and --out with a .xlsx, .csv or .json file</source>
        <translation>lumisk-cli history export：需要一个会话编号，以及带 .xlsx、.csv 或 .json 文件的 --out</translation>
    </message>
    <message numerus="yes">
        <source>%n record(s) written to %1</source>
        <translation>
            <numerusform>已将 %n 条记录写入 %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Sends what the team server lacks of the local history, then stops.</source>
        <translation>将团队服务器缺少的本地历史发送过去，然后停止。</translation>
    </message>
    <message>
        <source>lumisk-cli history sync: no team server is set ([history] server= in settings.ini)</source>
        <translation>lumisk-cli history sync：未设置团队服务器（settings.ini 中 [history] 的 server=）</translation>
    </message>
    <message>
        <source>Usage: lumisk-cli history list|show|export|sync [options] (--help for each)</source>
        <translation>用法：lumisk-cli history list|show|export|sync [选项]（各自可用 --help）</translation>
    </message>
    <message>
        <source>lumisk-cli history: unknown action %1</source>
        <translation>lumisk-cli history：未知操作 %1</translation>
    </message>
    <message>
        <source>lumisk-cli: unknown command %1</source>
        <translation>lumisk-cli：未知命令 %1</translation>
    </message>
    <message>
        <source>%1: %2 %3 (kind %4)</source>
        <translation>%1：%2 %3（类型 %4）</translation>
    </message>
    <message>
        <source>in use by another program (%1)</source>
        <translation>被其他程序占用（%1）</translation>
    </message>
    <message>
        <source>cannot be opened: %1</source>
        <translation>无法打开：%1</translation>
    </message>
    <message>
        <source>no meter answered</source>
        <translation>没有仪表应答</translation>
    </message>
    <message>
        <source>no valid identity (answer %1)</source>
        <translation>没有有效的标识（应答 %1）</translation>
    </message>
    <message>
        <source>lumisk-cli: no such serial port: %1</source>
        <translation>lumisk-cli：没有此串口：%1</translation>
    </message>
    <message>
        <source>lumisk-cli: no meter on %1</source>
        <translation>lumisk-cli：%1 上没有仪表</translation>
    </message>
    <message>
        <source>lumisk-cli: no meter found</source>
        <translation>lumisk-cli：未找到仪表</translation>
    </message>
    <message>
        <source>lumisk-cli: %1 meters found; choose one with --port</source>
        <translation>lumisk-cli：找到 %1 台仪表；请用 --port 选择一台</translation>
    </message>
    <message>
        <source>Lists every serial port (or every LUMISK_SERIAL_PORTS entry), whether it can be opened and why not, and which meter answers on it.</source>
        <translation>列出每个串口（或 LUMISK_SERIAL_PORTS 中的每一项）、能否打开及原因，以及哪台仪表在其上应答。</translation>
    </message>
    <message>
        <source>no serial ports</source>
        <translation>没有串口</translation>
    </message>
    <message>
        <source>Prints the meter&apos;s identity: kind, model, version, range code and the record families it keeps.</source>
        <translation>输出仪表的标识：类型、型号、版本、量程代码及其保存的记录类别。</translation>
    </message>
    <message>
        <source>port:       %1</source>
        <translation>端口：     %1</translation>
    </message>
    <message>
        <source>model:      %1</source>
        <translation>型号：     %1</translation>
    </message>
    <message>
        <source>version:    %1</source>
        <translation>版本：     %1</translation>
    </message>
    <message>
        <source>kind:       %1</source>
        <translation>类型：     %1</translation>
    </message>
    <message>
        <source>range code: %1</source>
        <translation>量程代码： %1</translation>
    </message>
    <message>
        <source>families:   %1</source>
        <translation>记录类别： %1</translation>
    </message>
    <message>
        <source>Time between readings, 0.5s to 1h in steps of 0.5 s (default 1s).</source>
        <translation>读数间隔，0.5s 至 1h，以 0.5 秒为步长（默认 1s）。</translation>
    </message>
    <message>
        <source>How long to sample, at most 24h and 65535 readings (default 1m).</source>
        <translation>采样时长，最多 24h 和 65535 个读数（默认 1m）。</translation>
    </message>
    <message>
        <source>Write the readings to FILE (.xlsx, .csv or .json); - prints JSON lines on stdout. Without it, CSV lines on stdout as they arrive.</source>
        <translation>将读数写入文件（.xlsx、.csv 或 .json）；- 表示在标准输出逐行输出 JSON。不指定时，读数到达即以 CSV 行输出到标准输出。</translation>
    </message>
    <message>
        <source>Do not keep the readings in the history.</source>
        <translation>不将读数保存到历史。</translation>
    </message>
    <message>
        <source>Takes live readings from the meter at an interval for a while.</source>
        <translation>在一段时间内按间隔从仪表读取实时读数。</translation>
    </message>
    <message>
        <source>lumisk-cli sample: the interval must be 0.5s to 1h in steps of 0.5 s</source>
        <translation>lumisk-cli sample：间隔必须为 0.5s 至 1h，以 0.5 秒为步长</translation>
    </message>
    <message>
        <source>lumisk-cli sample: the duration must be more than 0 and at most 24h</source>
        <translation>lumisk-cli sample：时长必须大于 0 且不超过 24h</translation>
    </message>
    <message>
        <source>lumisk-cli sample: at most 65535 readings (duration / interval)</source>
        <translation>lumisk-cli sample：最多 65535 个读数（时长 / 间隔）</translation>
    </message>
    <message>
        <source>lumisk-cli sample: --out takes a .xlsx, .csv or .json file, or -</source>
        <translation>lumisk-cli sample：--out 需要 .xlsx、.csv 或 .json 文件，或 -</translation>
    </message>
    <message>
        <source>lumisk-cli: the meter on %1 (%2) gives no live readings</source>
        <translation>lumisk-cli：%1 上的仪表（%2）不提供实时读数</translation>
    </message>
    <message>
        <source>readings</source>
        <translation>读数</translation>
    </message>
    <message>
        <source>the meter kept refusing live readings</source>
        <translation>仪表持续拒绝实时读数</translation>
    </message>
    <message numerus="yes">
        <source>lumisk-cli: %1 after %n reading(s)</source>
        <translation>
            <numerusform>lumisk-cli：%1，已收到 %n 个读数</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) taken</source>
        <translation>
            <numerusform>已读取 %n 个读数</numerusform>
        </translation>
    </message>
    <message>
        <source>lumisk-cli: the readings could not be kept in the history (%1): %2</source>
        <translation>lumisk-cli：读数无法保存到历史（%1）：%2</translation>
    </message>
    <message>
        <source>lumisk-cli: cannot write to standard output: %1</source>
        <translation>lumisk-cli：无法写入标准输出：%1</translation>
    </message>
    <message>
        <source>lumisk-cli: what arrived is in %1 (%2 is left as it was)</source>
        <translation>lumisk-cli：已收到的数据在 %1 中（%2 保持不变）</translation>
    </message>
    <message numerus="yes">
        <source>%n reading(s) written to %1</source>
        <translation>
            <numerusform>已将 %n 条读数写入 %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Writes a stored session into a file.</source>
        <translation>将一个已存储的会话写入文件。</translation>
    </message>
    <message>
        <source>lumisk-cli history export: session %1 is of an unknown kind</source>
        <translation>lumisk-cli history export：会话 %1 的类型未知</translation>
    </message>
    <message>
        <source>standard output failed</source>
        <translation>标准输出失败</translation>
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
        <translation>用法：lumisk-cli 命令 [选项]

在命令行中使用手持式光功率计。

命令：
  ports                  串口、能否打开、哪台仪表应答
  identify               仪表的标识
  download --family F    某一类别的全部记录（single、multi、partial、pon、xgpon）
  sample                 按间隔读取实时读数
  set-clock              将仪表时钟设为电脑本地时间（或 --time）
  history list|show|export|sync
                         测量历史

lumisk-cli 命令 --help 显示该命令的选项。不指定 --port 时使用唯一找到的
仪表。

退出码：0 完成，1 错误，2 用法错误，3 没有仪表或有多台，4 仪表拒绝或
持续失败，5 文件、输出或历史错误，130 已中断，141 标准输出被读取方关闭。
</translation>
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
    <name>DialogTitleBar</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
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
    <message>
        <source>The team server&apos;s sessions cannot be listed: %1</source>
        <translation>无法列出团队服务器上的会话：%1</translation>
    </message>
    <message>
        <source>This PC</source>
        <translation>本机</translation>
    </message>
    <message>
        <source>All technicians (team server)</source>
        <translation>所有技术员（团队服务器）</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>导出 CSV…</translation>
    </message>
    <message>
        <source>Export PDF report…</source>
        <translation>导出 PDF 报表…</translation>
    </message>
    <message>
        <source>about every %1 s</source>
        <translation>约每 %1 秒</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>Find a record by name or number</source>
        <translation>按名称或编号查找记录</translation>
    </message>
    <message>
        <source>Sessions with a record of this name or number, as the meter labels it</source>
        <translation>含有此名称或编号记录的会话（与仪表上的标注一致）</translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>The password in the history server setting is not used; libpq reads it from ~/.pgpass (or PGPASSFILE, PGPASSWORD).</source>
        <translation>历史服务器设置中的密码不会被使用；libpq 从 ~/.pgpass（或 PGPASSFILE、PGPASSWORD）读取密码。</translation>
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
    <message>
        <source>It is still being recorded (here, by lumisk-cli or by another Lumisk); it can be deleted once it has ended.</source>
        <translation>该会话仍在记录中（本程序、lumisk-cli 或另一个 Lumisk）；结束后才能删除。</translation>
    </message>
    <message>
        <source>Another program is writing the history; try again in a moment.</source>
        <translation>另一个程序正在写入历史记录；请稍后再试。</translation>
    </message>
    <message>
        <source>The history waits for another program that is writing %1 (another Lumisk, lumisk-cli, a backup or the sqlite3 shell). Nothing is lost: it is written as soon as that program lets go.</source>
        <translation>历史记录正在等待另一个正在写入 %1 的程序（另一个 Lumisk、lumisk-cli、备份或 sqlite3 命令行）。不会丢失任何数据：该程序释放文件后立即写入。</translation>
    </message>
    <message>
        <source>The history %1 cannot be read (%2).</source>
        <translation>无法读取历史记录 %1（%2）。</translation>
    </message>
</context>
<context>
    <name>HistorySync</name>
    <message>
        <source>The team server is not in use.</source>
        <translation>未使用团队服务器。</translation>
    </message>
    <message>
        <source>Connecting to the team server…</source>
        <translation>正在连接团队服务器…</translation>
    </message>
    <message>
        <source>Synced</source>
        <translation>已同步</translation>
    </message>
    <message numerus="yes">
        <source>%n waiting</source>
        <translation>
            <numerusform>%n 条待同步</numerusform>
        </translation>
    </message>
    <message>
        <source>Server unreachable: %1 (%2)</source>
        <translation>无法连接服务器：%1（%2）</translation>
    </message>
    <message>
        <source>Server unreachable: %1</source>
        <translation>无法连接服务器：%1</translation>
    </message>
    <message numerus="yes">
        <source>%n waiting: %1</source>
        <translation>
            <numerusform>%n 条待同步：%1</numerusform>
        </translation>
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
        <source>This session cannot be opened.</source>
        <translation>无法打开此记录。</translation>
    </message>
    <message>
        <source>Lumisk was closed while it recorded %1 (%2, started %3).
Open what was recorded?</source>
        <translation>Lumisk 在记录%1时被关闭（%2，开始于 %3）。
要打开已记录的内容吗？</translation>
    </message>
    <message>
        <source>Downloads and reports work as before.</source>
        <translation>下载和报告照常可用。</translation>
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
    <message>
        <source>PON class</source>
        <translation>PON 等级</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>导出 CSV…</translation>
    </message>
    <message>
        <source>Export PDF report…</source>
        <translation>导出 PDF 报表…</translation>
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
    <message>
        <source>Previous page</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>下一页</translation>
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
    <name>PdfReport</name>
    <message>
        <source>pass</source>
        <translation>通过</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>(kind %1)</source>
        <translation>（类型 %1）</translation>
    </message>
    <message>
        <source>Meter: %1</source>
        <translation>仪表：%1</translation>
    </message>
    <message>
        <source>Technician: %1</source>
        <translation>技术员：%1</translation>
    </message>
    <message>
        <source>Sampled: %1</source>
        <translation>采样时间：%1</translation>
    </message>
    <message>
        <source>Downloaded: %1</source>
        <translation>下载时间：%1</translation>
    </message>
    <message>
        <source>Report made: %1</source>
        <translation>报表生成：%1</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Wavelength (nm)</source>
        <translation>波长 (nm)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>功率</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Loss (dB)</source>
        <translation>损耗 (dB)</translation>
    </message>
    <message>
        <source>Readings: %1</source>
        <translation>读数：%1</translation>
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
        <source>Reference</source>
        <translation>参考</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>判定</translation>
    </message>
    <message>
        <source>Class check</source>
        <translation>等级检查</translation>
    </message>
    <message>
        <source>Margin (dB)</source>
        <translation>余量 (dB)</translation>
    </message>
    <message>
        <source>Records: %1</source>
        <translation>记录：%1</translation>
    </message>
    <message>
        <source>Pass: %1   Warning: %2   Fail: %3</source>
        <translation>通过：%1   警告：%2   失败：%3</translation>
    </message>
    <message>
        <source>%1 nm: minimum %2 dBm, maximum %3 dBm, mean %4 dBm (%5 readings)</source>
        <translation>%1 nm：最小 %2 dBm，最大 %3 dBm，平均 %4 dBm（%5 个读数）</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>读数</translation>
    </message>
    <message>
        <source>Power over %1 readings: minimum %2 dBm, maximum %3 dBm, mean %4 dBm</source>
        <translation>%1 个读数的功率：最小 %2 dBm，最大 %3 dBm，平均 %4 dBm</translation>
    </message>
    <message>
        <source>Standard deviation %1 dB, peak-to-peak %2 dB</source>
        <translation>标准差 %1 dB，峰峰值 %2 dB</translation>
    </message>
    <message>
        <source>Lumisk report</source>
        <translation>Lumisk 报表</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>摘要</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
</context>
<context>
    <name>PonClassCheck</name>
    <message>
        <source>within</source>
        <translation>在范围内</translation>
    </message>
    <message>
        <source>below launch range</source>
        <translation>低于发射范围</translation>
    </message>
    <message>
        <source>below sensitivity</source>
        <translation>低于灵敏度</translation>
    </message>
    <message>
        <source>above launch range</source>
        <translation>高于发射范围</translation>
    </message>
    <message>
        <source>overload</source>
        <translation>过载</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>未检查</translation>
    </message>
    <message>
        <source>ONU receiver</source>
        <translation>ONU 接收机</translation>
    </message>
    <message>
        <source>ONU transmitter</source>
        <translation>ONU 发射机</translation>
    </message>
    <message>
        <source>video receiver</source>
        <translation>视频接收机</translation>
    </message>
    <message>
        <source>%1, %2 %3 to %4 dBm: %5, margin %6</source>
        <translation>%1，%2 %3 至 %4 dBm：%5，余量 %6</translation>
    </message>
    <message>
        <source>, %1 below launch range, %2 above launch range</source>
        <translation>，%1 个低于发射范围，%2 个高于发射范围</translation>
    </message>
    <message>
        <source>, %1 not checked</source>
        <translation>，%1 个未检查</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Class %1: %2 within, %3 warning, %4 below sensitivity, %5 overload</source>
        <translation>等级 %1：%2 个在范围内，%3 个警告，%4 个低于灵敏度，%5 个过载</translation>
    </message>
</context>
<context>
    <name>PonClassDialog</name>
    <message>
        <source>PON class</source>
        <translation>PON 等级</translation>
    </message>
    <message>
        <source>No class check</source>
        <translation>不检查等级</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Check the readings of each page against the optical class:</source>
        <translation>按以下光功率等级检查各页面的读数：</translation>
    </message>
    <message>
        <source>PON page (GPON):</source>
        <translation>PON 页面 (GPON)：</translation>
    </message>
    <message>
        <source>XG-PON page (XG-PON, XGS-PON):</source>
        <translation>XG-PON 页面 (XG-PON、XGS-PON)：</translation>
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
    <name>PortDiagnosis</name>
    <message>
        <source>lock file</source>
        <translation>锁文件</translation>
    </message>
    <message>
        <source>exclusive use</source>
        <translation>独占使用</translation>
    </message>
    <message>
        <source>%1: permission denied. Serial ports belong to the dialout group: sudo usermod -aG dialout $USER, then log in again.</source>
        <translation>%1：权限被拒绝。串口属于 dialout 组：运行 sudo usermod -aG dialout $USER，然后重新登录。</translation>
    </message>
    <message>
        <source>%1: held by another program (%2); close it (a serial terminal, ModemManager).</source>
        <translation>%1：被其他程序占用（%2）；请关闭该程序（串口终端、ModemManager）。</translation>
    </message>
    <message>
        <source>%1: opened, but no meter answered.</source>
        <translation>%1：已打开，但没有仪表应答。</translation>
    </message>
    <message>
        <source>%1: something answered, but not a known meter.</source>
        <translation>%1：有设备应答，但不是已知的仪表。</translation>
    </message>
    <message>
        <source>%1: the device went away.</source>
        <translation>%1：设备已消失。</translation>
    </message>
    <message>
        <source>%1: could not be opened (%2).</source>
        <translation>%1：无法打开（%2）。</translation>
    </message>
    <message>
        <source>No serial port found.</source>
        <translation>未找到串口。</translation>
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
    <name>ServerAddress</name>
    <message>
        <source>&quot;%1&quot; has no value (keyword=value expected).</source>
        <translation>“%1”没有值（应为 关键字=值）。</translation>
    </message>
    <message>
        <source>The value of &quot;%1&quot; lacks its closing quote.</source>
        <translation>“%1”的值缺少右引号。</translation>
    </message>
    <message>
        <source>The address %1 lacks its closing bracket.</source>
        <translation>地址 %1 缺少右方括号。</translation>
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
    <name>StartPanel</name>
    <message>
        <source>Team server: %1</source>
        <translation>团队服务器：%1</translation>
    </message>
    <message>
        <source>Plug in the meter and press Connect.</source>
        <translation>请接上仪表，然后点击连接。</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Recent sessions (one click opens one)</source>
        <translation>最近的会话（单击即可打开）</translation>
    </message>
    <message>
        <source>No meter at hand? Try Lumisk with the simulated meter: run scripts/demo (or lumisk-metersim) and press Connect.</source>
        <translation>手边没有仪表？可用模拟仪表试用 Lumisk：运行 scripts/demo（或 lumisk-metersim），然后点击连接。</translation>
    </message>
    <message>
        <source>The last scan found no meter. What each port showed:</source>
        <translation>上次扫描未找到仪表。各端口的情况：</translation>
    </message>
</context>
<context>
    <name>SyncWorker</name>
    <message>
        <source>the history file cannot be read (%1)</source>
        <translation>无法读取历史文件（%1）</translation>
    </message>
    <message>
        <source>the history file is not of this Lumisk&apos;s version</source>
        <translation>历史文件与本版本 Lumisk 不符</translation>
    </message>
    <message>
        <source>Qt&apos;s PostgreSQL driver is missing (package libqt5sql5-psql)</source>
        <translation>缺少 Qt 的 PostgreSQL 驱动（软件包 libqt5sql5-psql）</translation>
    </message>
    <message>
        <source>the server setting cannot be read: %1</source>
        <translation>无法读取服务器设置：%1</translation>
    </message>
    <message>
        <source>the server&apos;s tables cannot be made (%1)</source>
        <translation>无法在服务器上建立数据表（%1）</translation>
    </message>
    <message>
        <source>the server&apos;s history comes from a newer Lumisk (version %1; this one knows up to %2)</source>
        <translation>服务器上的历史记录来自更新版本的 Lumisk（版本 %1；本程序最高支持 %2）</translation>
    </message>
    <message>
        <source>the history file cannot be written (%1)</source>
        <translation>无法写入历史文件（%1）</translation>
    </message>
    <message numerus="yes">
        <source>the server did not answer within %n s</source>
        <translation>
            <numerusform>服务器在 %n 秒内没有应答</numerusform>
        </translation>
    </message>
    <message>
        <source>The team server&apos;s sync waits: %1</source>
        <translation>团队服务器同步等待中：%1</translation>
    </message>
</context>
<context>
    <name>WindowKeys</name>
    <message>
        <source>Connect to the meter, or disconnect</source>
        <translation>连接仪表或断开连接</translation>
    </message>
    <message>
        <source>Download the meter&apos;s records</source>
        <translation>下载仪表的记录</translation>
    </message>
    <message>
        <source>Save the report</source>
        <translation>保存报告</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>导出 PDF</translation>
    </message>
    <message>
        <source>Show the measurement history</source>
        <translation>显示测量历史</translation>
    </message>
    <message>
        <source>Start or pause the live run</source>
        <translation>开始或暂停实时采样</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Clear the curve</source>
        <translation>清除曲线</translation>
    </message>
    <message>
        <source>Fit the curve to the window again</source>
        <translation>曲线重新适应窗口</translation>
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
