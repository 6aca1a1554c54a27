<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CompoundFile</name>
    <message>
        <source>not an Excel 97-2003 workbook (no compound file signature)</source>
        <translation>不是 Excel 97-2003 工作簿（没有复合文件标识）</translation>
    </message>
    <message>
        <source>unsupported compound file sector size</source>
        <translation>不支持的复合文件扇区大小</translation>
    </message>
    <message>
        <source>damaged compound file (allocation table index)</source>
        <translation>复合文件已损坏（分配表索引）</translation>
    </message>
    <message>
        <source>damaged compound file (allocation table)</source>
        <translation>复合文件已损坏（分配表）</translation>
    </message>
    <message>
        <source>damaged compound file (directory)</source>
        <translation>复合文件已损坏（目录）</translation>
    </message>
    <message>
        <source>damaged compound file (mini allocation table)</source>
        <translation>复合文件已损坏（小分配表）</translation>
    </message>
    <message>
        <source>damaged compound file (mini stream)</source>
        <translation>复合文件已损坏（小数据流）</translation>
    </message>
    <message>
        <source>damaged compound file (small stream)</source>
        <translation>复合文件已损坏（小数据流）</translation>
    </message>
    <message>
        <source>damaged compound file (stream)</source>
        <translation>复合文件已损坏（数据流）</translation>
    </message>
    <message>
        <source>damaged compound file (short stream)</source>
        <translation>复合文件已损坏（数据流过短）</translation>
    </message>
    <message>
        <source>damaged compound file (no root entry)</source>
        <translation>复合文件已损坏（没有根目录项）</translation>
    </message>
</context>
<context>
    <name>OutputFiles</name>
    <message>
        <source>Cannot create the folder "%1" or write into it.</source>
        <translation>无法创建文件夹“%1”或无法写入。</translation>
    </message>
</context>
<context>
    <name>RecordPanel</name>
    <message>
        <source>Real time recording</source>
        <translation>实时记录</translation>
    </message>
    <message>
        <source>Real-time data storage</source>
        <translation>实时数据保存</translation>
    </message>
    <message>
        <source>Note: The communication status should jump normally, indicating that it is in communication, otherwise it may not be able to record real-time data.</source>
        <translation>注意:通迅状态要正常跳动，说明在通迅，否则有可能记录不到实时的数据。</translation>
    </message>
    <message>
        <source>File Directory:</source>
        <translation>转换文件目录：</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>选择文件</translation>
    </message>
    <message>
        <source>Latest Files</source>
        <translation>最新文件</translation>
    </message>
    <message>
        <source>Export to Excel</source>
        <translation>导出Excel</translation>
    </message>
    <message>
        <source>Open Export File</source>
        <translation>打开导出文件</translation>
    </message>
    <message>
        <source>Progress:</source>
        <translation>转换进度：</translation>
    </message>
    <message>
        <source>Export recording to Excel</source>
        <translation>导出记录数据到Excel</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Cannot create the recording file "%1": %2</source>
        <translation>无法创建记录文件“%1”：%2</translation>
    </message>
    <message>
        <source>Cannot write to the recording file "%1": %2</source>
        <translation>无法写入记录文件“%1”：%2</translation>
    </message>
    <message>
        <source>Recording has stopped.</source>
        <translation>实时记录已停止。</translation>
    </message>
    <message>
        <source>"%1" is not a recording file: choose a file whose name contains ".txt".</source>
        <translation>“%1”不是记录文件：请选择文件名中含有“.txt”的文件。</translation>
    </message>
    <message>
        <source>The template "%1" is missing. Put it beside the program and export again.</source>
        <translation>缺少模板“%1”。请把它放到程序所在文件夹后再导出。</translation>
    </message>
    <message>
        <source>The workbook "%1" is open in another program. Close it there and export again.</source>
        <translation>工作簿“%1”已被其他程序打开。请先在该程序中关闭它，再导出。</translation>
    </message>
    <message>
        <source>The workbook "%1" cannot be replaced: %2</source>
        <translation>无法替换工作簿“%1”：%2</translation>
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
        <source>The workbook "%1" no longer exists.</source>
        <translation>工作簿“%1”已不存在。</translation>
    </message>
    <message>
        <source>No program could open "%1".</source>
        <translation>没有程序能打开“%1”。</translation>
    </message>
</context>
<context>
    <name>RecordingConversion</name>
    <message>
        <source>Cannot read the recording "%1": %2</source>
        <translation>无法读取记录文件“%1”：%2</translation>
    </message>
    <message>
        <source>The recording is neither UTF-8 nor GB18030 text.</source>
        <translation>记录文件既不是 UTF-8 也不是 GB18030 文本。</translation>
    </message>
</context>
<context>
    <name>StoredDataPanel</name>
    <message>
        <source>Number of stored data</source>
        <translation>存储数量</translation>
    </message>
    <message>
        <source>get data</source>
        <translation>获取数据</translation>
    </message>
    <message>
        <source>Export to Excel</source>
        <translation>导出Excel</translation>
    </message>
    <message>
        <source>Number:</source>
        <translation>数量：</translation>
    </message>
    <message>
        <source>Export progress:</source>
        <translation>导出进度：</translation>
    </message>
    <message>
        <source>Stored data</source>
        <translation>存储数据</translation>
    </message>
    <message>
        <source>Export stored data to Excel</source>
        <translation>导出存储数据到Excel</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Records read:</source>
        <translation>已读记录：</translation>
    </message>
    <message>
        <source>Reading time</source>
        <translation>读取用时</translation>
    </message>
    <message>
        <source>Stop reading stored data</source>
        <translation>停止读取存储数据</translation>
    </message>
    <message>
        <source>Reading progress</source>
        <translation>读取进度</translation>
    </message>
</context>
<context>
    <name>StoredGrid</name>
    <message>
        <source>NO.</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>storage time</source>
        <translation>存储时间</translation>
    </message>
    <message>
        <source>total voltage (V)</source>
        <translation>总电压(V)</translation>
    </message>
    <message>
        <source>total current (A)</source>
        <translation>总电流(A)</translation>
    </message>
    <message>
        <source>Max Cell Voltage (v)</source>
        <translation>最高单压(v)</translation>
    </message>
    <message>
        <source>NO.of Max Voltage</source>
        <translation>最高单压序号</translation>
    </message>
    <message>
        <source>Min Cell Voltage (v)</source>
        <translation>最低单压(v)</translation>
    </message>
    <message>
        <source>NO.of Min Voltage</source>
        <translation>最低单压序号</translation>
    </message>
    <message>
        <source>Voltage difference (v)</source>
        <translation>压差(v)</translation>
    </message>
    <message>
        <source>Max temperature (℃)</source>
        <translation>最高温度(℃)</translation>
    </message>
    <message>
        <source>NO.of Max temperature</source>
        <translation>最高温度序号</translation>
    </message>
    <message>
        <source>Min temperature (℃)</source>
        <translation>最低温度(℃)</translation>
    </message>
    <message>
        <source>NO.of Min temperature</source>
        <translation>最低温度序号</translation>
    </message>
    <message>
        <source>Alarm status</source>
        <translation>报警状态</translation>
    </message>
    <message>
        <source>Protection status</source>
        <translation>保护状态</translation>
    </message>
    <message>
        <source>Fault status</source>
        <translation>故障状态</translation>
    </message>
    <message>
        <source>system state</source>
        <translation>MOS状态</translation>
    </message>
</context>
<context>
    <name>StoredRecordText</name>
    <message>
        <source>Reserved alarm</source>
        <translation>保留告警</translation>
    </message>
    <message>
        <source>Cell_DIFV</source>
        <translation>压差过大</translation>
    </message>
    <message>
        <source>Discharge_OT </source>
        <translation>放电高温</translation>
    </message>
    <message>
        <source>Charge_UT</source>
        <translation>充电低温</translation>
    </message>
    <message>
        <source>Discharge_UT </source>
        <translation>放电低温</translation>
    </message>
    <message>
        <source>MOS_OT</source>
        <translation>MOS温度过高</translation>
    </message>
    <message>
        <source>SOC_UC</source>
        <translation>SOC过低</translation>
    </message>
    <message>
        <source>Environment_OT</source>
        <translation>环境温度过高</translation>
    </message>
    <message>
        <source>Environment_UT</source>
        <translation>环境温度过低</translation>
    </message>
    <message>
        <source>Cell_DIFT</source>
        <translation>温差过大</translation>
    </message>
    <message>
        <source>Cell_OV</source>
        <translation>单体电压过高</translation>
    </message>
    <message>
        <source>Cell_UV</source>
        <translation>单体电压过低</translation>
    </message>
    <message>
        <source>Total_OV </source>
        <translation>总电压过高</translation>
    </message>
    <message>
        <source>Total_UV</source>
        <translation>总电压过低</translation>
    </message>
    <message>
        <source>Discharge_OC1</source>
        <translation>放电过流1</translation>
    </message>
    <message>
        <source>Discharge_OC2 </source>
        <translation>放电过流2</translation>
    </message>
    <message>
        <source>Charge_OC </source>
        <translation>充电过流</translation>
    </message>
    <message>
        <source>Charge_OT </source>
        <translation>充电高温</translation>
    </message>
    <message>
        <source>Reserved protection</source>
        <translation>保留保护</translation>
    </message>
    <message>
        <source>Discharge MOS failure</source>
        <translation>放电MOS失效</translation>
    </message>
    <message>
        <source>Charging MOS failure</source>
        <translation>充电MOS失效</translation>
    </message>
    <message>
        <source>EEPRAOM write failure</source>
        <translation>EEPRAOM写失败</translation>
    </message>
    <message>
        <source>Low voltage charging forbid</source>
        <translation>低压禁止充电</translation>
    </message>
    <message>
        <source>Short circuit protection</source>
        <translation>短路保护</translation>
    </message>
    <message>
        <source>Switch 1 ON</source>
        <translation>弱电开关1接入</translation>
    </message>
    <message>
        <source>Charging state </source>
        <translation>充电状态 </translation>
    </message>
    <message>
        <source>Discharge state</source>
        <translation>放电状态</translation>
    </message>
    <message>
        <source>current-limiting</source>
        <translation>限流</translation>
    </message>
    <message>
        <source>Strong off discharge </source>
        <translation>强关放电 </translation>
    </message>
    <message>
        <source>Forced off charging</source>
        <translation>强关充电</translation>
    </message>
    <message>
        <source>Switch 2 ON</source>
        <translation>弱电开关2接入</translation>
    </message>
    <message>
        <source>Discharge MOS ON </source>
        <translation>放电MOS开启 </translation>
    </message>
    <message>
        <source>Charging MOS ON </source>
        <translation>s充电MOS开启 </translation>
    </message>
    <message>
        <source>Preamplifier MOS ON</source>
        <translation>预放MOS开启</translation>
    </message>
    <message>
        <source>Heating ON</source>
        <translation>加热开启</translation>
    </message>
    <message>
        <source>GPS ON </source>
        <translation>GPS开启 </translation>
    </message>
    <message>
        <source>Charger ON</source>
        <translation>充电器接入</translation>
    </message>
    <message>
        <source>Load connection </source>
        <translation>负载连接 </translation>
    </message>
    <message>
        <source>Reserved</source>
        <translation>保留</translation>
    </message>
</context>
<context>
    <name>StoredRecords</name>
    <message>
        <source>Read Complete</source>
        <translation>读取完成</translation>
    </message>
    <message>
        <source>Elapsed %1</source>
        <translation>已用时 %1</translation>
    </message>
    <message>
        <source>Elapsed %1, about %2 left</source>
        <translation>已用时 %1，预计还需 %2</translation>
    </message>
    <message>
        <source>Stopped after %1</source>
        <translation>已停止，用时 %1</translation>
    </message>
    <message>
        <source>Ended after %1</source>
        <translation>已中断，用时 %1</translation>
    </message>
    <message>
        <source>Read in %1</source>
        <translation>读取用时 %1</translation>
    </message>
    <message>
        <source>The template "%1" is missing. Put it beside the program and export again.</source>
        <translation>缺少模板“%1”。请把它放到程序所在文件夹后再导出。</translation>
    </message>
    <message>
        <source>Cannot copy the template to "%1".</source>
        <translation>无法把模板复制到“%1”。</translation>
    </message>
    <message>
        <source>The export failed.</source>
        <translation>导出失败。</translation>
    </message>
    <message>
        <source>Export succeeded</source>
        <translation>导出成功</translation>
    </message>
</context>
<context>
    <name>XlsWorkbook</name>
    <message>
        <source>not an Excel 97-2003 workbook (no Workbook stream)</source>
        <translation>不是 Excel 97-2003 工作簿（没有 Workbook 流）</translation>
    </message>
    <message>
        <source>damaged workbook stream</source>
        <translation>工作簿数据流已损坏</translation>
    </message>
    <message>
        <source>the workbook has no worksheet</source>
        <translation>工作簿中没有工作表</translation>
    </message>
    <message>
        <source>damaged workbook stream (first sheet not found)</source>
        <translation>工作簿数据流已损坏（找不到第一个工作表）</translation>
    </message>
    <message>
        <source>the first sheet has no window settings</source>
        <translation>第一个工作表没有窗口设置</translation>
    </message>
    <message>
        <source>too many rows for an Excel 97-2003 worksheet (at most %1)</source>
        <translation>行数超出 Excel 97-2003 工作表的上限（最多 %1 行）</translation>
    </message>
    <message>
        <source>damaged shared string table</source>
        <translation>共享字符串表已损坏</translation>
    </message>
</context>
<context>
    <name>XlsxSheetWriter</name>
    <message>
        <source>The template "%1" is not an .xlsx workbook.</source>
        <translation>模板“%1”不是 .xlsx 工作簿。</translation>
    </message>
    <message>
        <source>The first worksheet of the template "%1" cannot be found.</source>
        <translation>找不到模板“%1”的第一个工作表。</translation>
    </message>
    <message>
        <source>Cannot create a file in the folder "%1".</source>
        <translation>无法在文件夹“%1”中创建文件。</translation>
    </message>
    <message>
        <source>The first worksheet of the template "%1" cannot be read.</source>
        <translation>无法读取模板“%1”的第一个工作表。</translation>
    </message>
    <message>
        <source>The part "%1" of the template "%2" cannot be read.</source>
        <translation>无法读取模板“%2”中的部件“%1”。</translation>
    </message>
    <message>
        <source>The first worksheet of the template "%1" has no data section.</source>
        <translation>模板“%1”的第一个工作表没有数据区。</translation>
    </message>
    <message>
        <source>The workbook is not open.</source>
        <translation>工作簿未打开。</translation>
    </message>
    <message>
        <source>Row %1 is out of order.</source>
        <translation>第%1行顺序错误。</translation>
    </message>
    <message>
        <source>The workbook "%1" cannot be replaced: %2</source>
        <translation>无法替换工作簿“%1”：%2</translation>
    </message>
    <message>
        <source>The workbook "%1" cannot be written.</source>
        <translation>无法写入工作簿“%1”。</translation>
    </message>
    <message>
        <source>The first worksheet of the template "%1" is damaged: %2</source>
        <translation>模板“%1”的第一个工作表已损坏：%2</translation>
    </message>
</context>
<context>
    <name>DataLocations</name>
    <message>
        <source>The template &quot;%1&quot; is missing. Put it beside the program and export again.</source>
        <translation>模板“%1”不存在。请把它放到程序旁边后再导出。</translation>
    </message>
    <message>
        <source>The template &quot;%1&quot; is missing. It was looked for in these folders:
%2
Reinstall the program and export again.</source>
        <translation>模板“%1”不存在。已在以下文件夹中查找：
%2
请重新安装程序后再导出。</translation>
    </message>
</context>
<context>
    <name>OutputFiles</name>
    <message>
        <source>There is no documents folder for this user, so the folder &quot;%1&quot; cannot be made.</source>
        <translation>此用户没有文档文件夹，无法创建文件夹“%1”。</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;.</source>
        <translation>无法创建文件夹“%1”。</translation>
    </message>
    <message>
        <source>No program could open &quot;%1&quot;.</source>
        <translation>没有程序能打开“%1”。</translation>
    </message>
</context>
<context>
    <name>RecordPanel</name>
    <message>
        <source>Output folder:</source>
        <translation>输出文件夹：</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>Open recordings folder</source>
        <translation>打开实时记录文件夹</translation>
    </message>
</context>
<context>
    <name>StoredDataPanel</name>
    <message>
        <source>Output folder:</source>
        <translation>输出文件夹：</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <source>Open exports folder</source>
        <translation>打开导出文件夹</translation>
    </message>
</context>
</TS>