<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BankController</name>
    <message>
        <source>Polling the packs on the line</source>
        <translation>正在轮询总线上的电池组</translation>
    </message>
    <message>
        <source>Bank recording has stopped; the lines written so far are kept.</source>
        <translation>电池组记录已停止，已写入的行均已保留。</translation>
    </message>
    <message>
        <source>Nothing to export yet: tick &quot;Record bank&quot; first.</source>
        <translation>尚无可导出的内容：请先勾选“记录电池组”。</translation>
    </message>
    <message>
        <source>The workbook &quot;%1&quot; is open in another program. Close it there and export again.</source>
        <translation>工作簿“%1”已被其他程序打开。请先在该程序中关闭它，再导出。</translation>
    </message>
    <message>
        <source>Export succeeded</source>
        <translation>导出成功</translation>
    </message>
    <message>
        <source>The export failed.</source>
        <translation>导出失败。</translation>
    </message>
    <message>
        <source>No packs known yet: scan the bus on the serial setting page.</source>
        <translation>尚无已知电池组：请在串口设置页扫描总线。</translation>
    </message>
    <message>
        <source>Open the serial port on the serial setting page to poll the packs.</source>
        <translation>请在串口设置页打开串口，以轮询电池组。</translation>
    </message>
    <message>
        <source>Polling stopped: a request could not be sent.</source>
        <translation>轮询已停止：请求无法发送。</translation>
    </message>
    <message>
        <source>Polling pauses while another page is shown.</source>
        <translation>显示其他页面时轮询暂停。</translation>
    </message>
    <message>
        <source>Polling %1 packs...</source>
        <translation>正在轮询 %1 个电池组……</translation>
    </message>
    <message>
        <source>Sweep %1: %2 of %3 packs online, last sweep %4 s</source>
        <translation>第 %1 轮：%3 个电池组中 %2 个在线，上一轮用时 %4 秒</translation>
    </message>
    <message>
        <source>Recording to %1 (%2 lines)</source>
        <translation>正在记录到 %1（%2 行）</translation>
    </message>
    <message>
        <source>Last recording: %1</source>
        <translation>上次记录：%1</translation>
    </message>
</context>
<context>
    <name>BankExport</name>
    <message>
        <source>Address %1</source>
        <translation>地址 %1</translation>
    </message>
    <message>
        <source>An export is already running.</source>
        <translation>已有导出正在进行。</translation>
    </message>
    <message>
        <source>Cannot read the bank recording &quot;%1&quot;: %2</source>
        <translation>无法读取电池组记录“%1”：%2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a bank recording.</source>
        <translation>“%1”不是电池组记录文件。</translation>
    </message>
    <message>
        <source>The bank recording &quot;%1&quot; holds no lines yet.</source>
        <translation>电池组记录“%1”中还没有数据行。</translation>
    </message>
</context>
<context>
    <name>BankPack</name>
    <message>
        <source>Protection: %1</source>
        <translation>保护：%1</translation>
    </message>
    <message>
        <source>Fault: %1</source>
        <translation>故障：%1</translation>
    </message>
    <message>
        <source>Alarm: %1</source>
        <translation>告警：%1</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>C %1, D %2</source>
        <translation>充%1 放%2</translation>
    </message>
</context>
<context>
    <name>BankPanel</name>
    <message>
        <source>Bank</source>
        <translation>电池组总览</translation>
    </message>
    <message>
        <source>Bank voltage</source>
        <translation>电池组电压</translation>
    </message>
    <message>
        <source>Summed current</source>
        <translation>电流总和</translation>
    </message>
    <message>
        <source>SOC spread</source>
        <translation>SOC 差</translation>
    </message>
    <message>
        <source>Largest cell difference</source>
        <translation>最大单体压差</translation>
    </message>
    <message>
        <source>Polling</source>
        <translation>轮询</translation>
    </message>
    <message>
        <source>Packs on the line</source>
        <translation>总线上的电池组</translation>
    </message>
    <message>
        <source>One row per pack; Enter opens the pack's information page.</source>
        <translation>每个电池组一行；按回车键打开该电池组的信息页。</translation>
    </message>
    <message>
        <source>Double-click a row or press Enter to open that pack on the information page; the other pages then work on that address. Amber cells are in alarm, red ones in protection or fault.</source>
        <translation>双击某行或按回车键，在信息页打开该电池组；其他页面随后也针对该地址工作。琥珀色单元格表示告警，红色表示保护或故障。</translation>
    </message>
    <message>
        <source>Record bank</source>
        <translation>记录电池组</translation>
    </message>
    <message>
        <source>Bank recording file</source>
        <translation>电池组记录文件</translation>
    </message>
    <message>
        <source>Export to Excel</source>
        <translation>导出到Excel</translation>
    </message>
    <message>
        <source>Export the bank recording to Excel</source>
        <translation>将电池组记录导出到Excel</translation>
    </message>
    <message>
        <source>Export progress</source>
        <translation>导出进度</translation>
    </message>
</context>
<context>
    <name>BankRecording</name>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Battery ID</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Total voltage (V)</source>
        <translation>总电压(V)</translation>
    </message>
    <message>
        <source>Current (A)</source>
        <translation>电流(A)</translation>
    </message>
    <message>
        <source>SOC (%)</source>
        <translation>SOC(%)</translation>
    </message>
    <message>
        <source>SOH (%)</source>
        <translation>SOH(%)</translation>
    </message>
    <message>
        <source>Max cell voltage (V)</source>
        <translation>最高单体电压(V)</translation>
    </message>
    <message>
        <source>Max cell No.</source>
        <translation>最高单体电压序号</translation>
    </message>
    <message>
        <source>Min cell voltage (V)</source>
        <translation>最低单体电压(V)</translation>
    </message>
    <message>
        <source>Min cell No.</source>
        <translation>最低单体电压序号</translation>
    </message>
    <message>
        <source>Cell difference (V)</source>
        <translation>压差(V)</translation>
    </message>
    <message>
        <source>Max temperature (℃)</source>
        <translation>最高温度(℃)</translation>
    </message>
    <message>
        <source>Min temperature (℃)</source>
        <translation>最低温度(℃)</translation>
    </message>
    <message>
        <source>MOS</source>
        <translation>MOS</translation>
    </message>
    <message>
        <source>Alarm / protection / fault</source>
        <translation>告警 / 保护 / 故障</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Cannot create the bank recording &quot;%1&quot;: %2</source>
        <translation>无法创建电池组记录“%1”：%2</translation>
    </message>
    <message>
        <source>Cannot write to the bank recording &quot;%1&quot;: %2</source>
        <translation>无法写入电池组记录“%1”：%2</translation>
    </message>
    <message>
        <source>The bank recording is not open.</source>
        <translation>电池组记录未打开。</translation>
    </message>
</context>
<context>
    <name>BankSummary</name>
    <message>
        <source>Bank voltage: %1</source>
        <translation>电池组电压：%1</translation>
    </message>
    <message>
        <source>Bank voltage: %1 to %2 V (spread %3 V)</source>
        <translation>电池组电压：%1 至 %2 V（相差 %3 V）</translation>
    </message>
    <message>
        <source>Summed current: %1</source>
        <translation>电流总和：%1</translation>
    </message>
    <message>
        <source>Summed current: %1 A (online packs: %2)</source>
        <translation>电流总和：%1 A（在线电池组：%2 个）</translation>
    </message>
    <message>
        <source>SOC spread: %1</source>
        <translation>SOC 差：%1</translation>
    </message>
    <message>
        <source>SOC spread: %1 % (%2 to %3 %)</source>
        <translation>SOC 差：%1 %（%2 至 %3 %）</translation>
    </message>
    <message>
        <source>Largest cell difference: %1</source>
        <translation>最大单体压差：%1</translation>
    </message>
    <message>
        <source>Largest cell difference: address %1, %2 V</source>
        <translation>最大单体压差：地址 %1，%2 V</translation>
    </message>
</context>
<context>
    <name>BankTableModel</name>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Battery ID</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Voltage
(V)</source>
        <translation>总电压
(V)</translation>
    </message>
    <message>
        <source>Current
(A)</source>
        <translation>电流
(A)</translation>
    </message>
    <message>
        <source>SOC
(%)</source>
        <translation>SOC
(%)</translation>
    </message>
    <message>
        <source>SOH
(%)</source>
        <translation>SOH
(%)</translation>
    </message>
    <message>
        <source>Max cell
(V) (No.)</source>
        <translation>最高单体
(V)(序号)</translation>
    </message>
    <message>
        <source>Min cell
(V) (No.)</source>
        <translation>最低单体
(V)(序号)</translation>
    </message>
    <message>
        <source>Cell diff.
(V)</source>
        <translation>压差
(V)</translation>
    </message>
    <message>
        <source>Max T
(℃)</source>
        <translation>最高温度
(℃)</translation>
    </message>
    <message>
        <source>Min T
(℃)</source>
        <translation>最低温度
(℃)</translation>
    </message>
    <message>
        <source>MOS</source>
        <translation>MOS</translation>
    </message>
    <message>
        <source>Alarm / protection / fault</source>
        <translation>告警 / 保护 / 故障</translation>
    </message>
    <message>
        <source>Age
(s)</source>
        <translation>更新于
(秒前)</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>离线</translation>
    </message>
    <message>
        <source>online</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>%1 (#%2)</source>
        <translation>%1 (#%2)</translation>
    </message>
    <message>
        <source>in alarm</source>
        <translation>告警中</translation>
    </message>
    <message>
        <source>in protection</source>
        <translation>保护中</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无应答</translation>
    </message>
</context>
<context>
    <name>PanelHost</name>
    <message>
        <source>packs</source>
        <translation>电池组</translation>
    </message>
</context>
<context>
    <name>XlsxBookWriter</name>
    <message>
        <source>Cannot create a file in the folder &quot;%1&quot;.</source>
        <translation>无法在文件夹“%1”中创建文件。</translation>
    </message>
    <message>
        <source>The workbook is not open.</source>
        <translation>工作簿未打开。</translation>
    </message>
    <message>
        <source>The workbook &quot;%1&quot; cannot be written.</source>
        <translation>无法写入工作簿“%1”。</translation>
    </message>
    <message>
        <source>The workbook &quot;%1&quot; cannot be replaced: %2</source>
        <translation>无法替换工作簿“%1”：%2</translation>
    </message>
</context>
</TS>
