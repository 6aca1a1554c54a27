<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CliCommands</name>
    <message>
        <source>Interrupted.</source>
        <translation>已中断。</translation>
    </message>
    <message>
        <source>No serial port was found.</source>
        <translation>未找到串口。</translation>
    </message>
    <message>
        <source>The scan was cut short: the line failed.</source>
        <translation>扫描中断：线路故障。</translation>
    </message>
    <message>
        <source>address %1: two or more packs answer at once (address clash)
</source>
        <translation>地址 %1：两个或更多电池包同时应答（地址冲突）
</translation>
    </message>
    <message>
        <source>address %1: battery ID %2, project %3
</source>
        <translation>地址 %1：电池ID %2，项目 %3
</translation>
    </message>
    <message>
        <source>No pack answered on the line.</source>
        <translation>线路上没有电池包应答。</translation>
    </message>
    <message>
        <source>Scanning address %1 of %2</source>
        <translation>正在扫描地址 %1 / %2</translation>
    </message>
    <message>
        <source>on</source>
        <translation>开</translation>
    </message>
    <message>
        <source>off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Battery ID</source>
        <translation>电池ID</translation>
    </message>
    <message>
        <source>Project number</source>
        <translation>项目编号</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Software / hardware version</source>
        <translation>软件 / 硬件版本</translation>
    </message>
    <message>
        <source>Total voltage</source>
        <translation>总电压</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
    <message>
        <source>SOC / SOH</source>
        <translation>SOC / SOH</translation>
    </message>
    <message>
        <source>Highest cell</source>
        <translation>最高单体</translation>
    </message>
    <message>
        <source>%1 V (cell %2)</source>
        <translation>%1 V（第 %2 节）</translation>
    </message>
    <message>
        <source>Lowest cell</source>
        <translation>最低单体</translation>
    </message>
    <message>
        <source>Cell difference</source>
        <translation>压差</translation>
    </message>
    <message>
        <source>Temperatures</source>
        <translation>温度</translation>
    </message>
    <message>
        <source>highest %1 ℃, lowest %2 ℃</source>
        <translation>最高 %1 ℃，最低 %2 ℃</translation>
    </message>
    <message>
        <source>Charge / discharge MOS</source>
        <translation>充电 / 放电 MOS</translation>
    </message>
    <message>
        <source>Cycles</source>
        <translation>循环次数</translation>
    </message>
    <message>
        <source>Full capacity</source>
        <translation>实际容量</translation>
    </message>
    <message>
        <source>Cells (V)</source>
        <translation>单体电压(V)</translation>
    </message>
    <message>
        <source>Sensors (℃)</source>
        <translation>温度传感器(℃)</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>告警</translation>
    </message>
    <message>
        <source>Protections</source>
        <translation>保护</translation>
    </message>
    <message>
        <source>Faults</source>
        <translation>故障</translation>
    </message>
    <message>
        <source>The folder of &quot;%1&quot; does not exist.</source>
        <translation>“%1”所在的文件夹不存在。</translation>
    </message>
    <message>
        <source>Records read: %1</source>
        <translation>已读取记录：%1</translation>
    </message>
    <message>
        <source>%1 records written to %2
</source>
        <translation>已将 %1 条记录写入 %2
</translation>
    </message>
    <message>
        <source>Only the %1 records read until then were written.</source>
        <translation>仅写入了此前读取的 %1 条记录。</translation>
    </message>
    <message>
        <source>Cannot record into the folder &quot;%1&quot;.</source>
        <translation>无法在文件夹“%1”中记录。</translation>
    </message>
    <message>
        <source>%1 lines recorded</source>
        <translation>已记录 %1 行</translation>
    </message>
    <message>
        <source>%1 lines recorded in %2
</source>
        <translation>已在 %2 中记录 %1 行
</translation>
    </message>
    <message>
        <source>Workbook: %1
</source>
        <translation>工作簿：%1
</translation>
    </message>
    <message>
        <source>Cannot read the firmware file &quot;%1&quot;.</source>
        <translation>无法读取固件文件“%1”。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a firmware image: choose a .bin file.</source>
        <translation>“%1”不是固件映像：请选择 .bin 文件。</translation>
    </message>
    <message>
        <source>Upgrade %1</source>
        <translation>升级 %1</translation>
    </message>
    <message>
        <source>A boot loader upgrade cannot be undone if it fails; confirm it with --yes.</source>
        <translation>BOOT 升级失败后无法恢复；请用 --yes 确认。</translation>
    </message>
    <message>
        <source>Cannot read the profile &quot;%1&quot;.</source>
        <translation>无法读取配置文件“%1”。</translation>
    </message>
    <message>
        <source>A profile run is already busy.</source>
        <translation>已有配置任务正在运行。</translation>
    </message>
    <message>
        <source>Applying a profile changes the pack&apos;s settings; confirm it with --yes.</source>
        <translation>应用配置会更改电池包的设置；请用 --yes 确认。</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) differ from the profile.</source>
        <translation>
            <numerusform>有 %n 项与配置不同。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CliOptions</name>
    <message>
        <source>List the serial ports with their COM numbers.</source>
        <translation>列出串口及其 COM 编号。</translation>
    </message>
    <message>
        <source>Ask every address from 0 to 16 on the line for a pack.</source>
        <translation>在线路上逐个询问地址 0 到 16 是否有电池包。</translation>
    </message>
    <message>
        <source>Read one polling cycle of each pack and show its values decoded.</source>
        <translation>读取每个电池包的一个轮询周期并显示解码后的数值。</translation>
    </message>
    <message>
        <source>Show the values of each pack after every polling cycle until Ctrl-C.</source>
        <translation>每个轮询周期后显示每个电池包的数值，直到按下 Ctrl-C。</translation>
    </message>
    <message>
        <source>Read alarm and protection rows (all without a ROW), or write one row: the row is read first and the fields given replace its values. ROW is a caption such as Cell_OV or a number 0-16; FIELD is AlaVal, AlaDelay, ProtVal, ProtRecVal, ProtDelay, AlarmEnable or ProtEnable.</source>
        <translation>读取告警和保护参数行（不指定 ROW 时读取全部），或写入一行：先读取该行，再用给出的字段替换其数值。ROW 是 Cell_OV 之类的名称或 0-16 的编号；FIELD 为 AlaVal、AlaDelay、ProtVal、ProtRecVal、ProtDelay、AlarmEnable 或 ProtEnable。</translation>
    </message>
    <message>
        <source>Send a control command to the pack.</source>
        <translation>向电池包发送控制命令。</translation>
    </message>
    <message>
        <source>Read the records stored in the BMS and write them to FILE (.xls, .xlsx or .csv).</source>
        <translation>读取 BMS 中的存储记录并写入 FILE（.xls、.xlsx 或 .csv）。</translation>
    </message>
    <message>
        <source>Record the live values once per second for N seconds into a dated text file under DIR, optionally converted into a workbook.</source>
        <translation>每秒记录一次实时数据，共 N 秒，写入 DIR 下按日期命名的文本文件，可选转换为工作簿。</translation>
    </message>
    <message>
        <source>Upgrade the BMS application or boot loader from a .bin file. A boot loader upgrade asks for confirmation: give --yes.</source>
        <translation>用 .bin 文件升级 BMS 应用程序或 BOOT。BOOT 升级需要确认：请加 --yes。</translation>
    </message>
    <message>
        <source>Save the pack&apos;s settings to a profile, compare the pack with one, or apply one to the pack.</source>
        <translation>将电池包的设置保存为配置文件，将电池包与配置文件比较，或将配置文件应用到电池包。</translation>
    </message>
    <message>
        <source>Try %1 --help.</source>
        <translation>请运行 %1 --help 查看用法。</translation>
    </message>
    <message>
        <source>Usage: cellvane-cli COMMAND [OPTIONS]
Talks to the battery management system of a lithium pack on a serial line, as the Cellvane window does.

Commands:
</source>
        <translation>用法：cellvane-cli 命令 [选项]
像 Cellvane 窗口一样，通过串口与锂电池包的电池管理系统通信。

命令：
</translation>
    </message>
    <message>
        <source>
Exit status: 0 success, 1 the BMS did not answer or refused, 2 usage error, 3 file error.
Run cellvane-cli COMMAND --help for the options of a command.
</source>
        <translation>
退出状态：0 成功，1 BMS 无应答或拒绝，2 用法错误，3 文件错误。
运行 cellvane-cli 命令 --help 查看该命令的选项。
</translation>
    </message>
    <message>
        <source>wrong arguments for %1: %2</source>
        <translation>%1 的参数有误：%2</translation>
    </message>
    <message>
        <source>params needs read or write</source>
        <translation>params 需要 read 或 write</translation>
    </message>
    <message>
        <source>params write needs a row and at least one FIELD=VALUE</source>
        <translation>params write 需要一个参数行和至少一个 FIELD=VALUE</translation>
    </message>
    <message>
        <source>unknown parameter row &quot;%1&quot;; the rows are %2</source>
        <translation>未知参数行“%1”；可用的行为 %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not FIELD=VALUE with a FIELD of AlaVal, AlaDelay, ProtVal, ProtRecVal, ProtDelay, AlarmEnable, ProtEnable</source>
        <translation>“%1”不是 FIELD=VALUE 形式，FIELD 应为 AlaVal、AlaDelay、ProtVal、ProtRecVal、ProtDelay、AlarmEnable、ProtEnable</translation>
    </message>
    <message>
        <source>%1 takes 0 or 1, not &quot;%2&quot;</source>
        <translation>%1 只能是 0 或 1，而不是“%2”</translation>
    </message>
    <message>
        <source>unknown control &quot;%1&quot;; the controls are %2</source>
        <translation>未知控制命令“%1”；可用的控制命令为 %2</translation>
    </message>
    <message>
        <source>upgrade needs app or boot and a .bin file</source>
        <translation>upgrade 需要 app 或 boot 以及一个 .bin 文件</translation>
    </message>
    <message>
        <source>profile needs save, compare or apply and a file</source>
        <translation>profile 需要 save、compare 或 apply 以及一个文件</translation>
    </message>
    <message>
        <source>no command given. %1</source>
        <translation>未给出命令。%1</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;. %2</source>
        <translation>未知命令“%1”。%2</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>显示本帮助并退出。</translation>
    </message>
    <message>
        <source>The serial port: COMn as the window lists it, or a device such as /dev/ttyUSB0 (default: the port the window would select).</source>
        <translation>串口：窗口中列出的 COMn，或 /dev/ttyUSB0 之类的设备（默认：窗口会选择的端口）。</translation>
    </message>
    <message>
        <source>The rate the application upgrade runs at: %1 (default 115200).</source>
        <translation>应用程序升级使用的波特率：%1（默认 115200）。</translation>
    </message>
    <message>
        <source>The line rate before and after the upgrade (default 9600).</source>
        <translation>升级前后的线路波特率（默认 9600）。</translation>
    </message>
    <message>
        <source>The line rate: %1 (default 9600).</source>
        <translation>线路波特率：%1（默认 9600）。</translation>
    </message>
    <message>
        <source>The line parity: N, E or O (default N).</source>
        <translation>线路校验位：N、E 或 O（默认 N）。</translation>
    </message>
    <message>
        <source>Communication address 0-255 (default 255); several as 1,2,5 or the option repeated.</source>
        <translation>通讯地址 0-255（默认 255）；多个地址写成 1,2,5 或重复此选项。</translation>
    </message>
    <message>
        <source>Communication address 0-255 (default 255).</source>
        <translation>通讯地址 0-255（默认 255）。</translation>
    </message>
    <message>
        <source>Print one JSON document per pack and cycle, one per line.</source>
        <translation>每个电池包每个周期输出一个 JSON 文档，每行一个。</translation>
    </message>
    <message>
        <source>Print the result as JSON.</source>
        <translation>以 JSON 输出结果。</translation>
    </message>
    <message>
        <source>Language of the texts: en or zh (default en).</source>
        <translation>文字语言：en 或 zh（默认 en）。</translation>
    </message>
    <message>
        <source>Seconds to wait for an answer before the pack counts as silent (default 5).</source>
        <translation>等待应答的秒数，超时则视为电池包无应答（默认 5）。</translation>
    </message>
    <message>
        <source>Read only the N newest records.</source>
        <translation>只读取最新的 N 条记录。</translation>
    </message>
    <message>
        <source>The file to write; its ending (.xls, .xlsx or .csv) chooses the format.</source>
        <translation>要写入的文件；扩展名（.xls、.xlsx 或 .csv）决定格式。</translation>
    </message>
    <message>
        <source>The folder to record into.</source>
        <translation>记录所用的文件夹。</translation>
    </message>
    <message>
        <source>How long to record.</source>
        <translation>记录时长。</translation>
    </message>
    <message>
        <source>Convert the recording into a workbook at the end.</source>
        <translation>结束时将记录转换为工作簿。</translation>
    </message>
    <message>
        <source>Answer Yes to the question the window would ask.</source>
        <translation>对窗口会提出的问题回答“是”。</translation>
    </message>
    <message>
        <source>Include the identity texts (apply only).</source>
        <translation>包括身份信息（仅用于 apply）。</translation>
    </message>
    <message>
        <source>Apply every item, also those equal on the pack.</source>
        <translation>应用所有项目，包括与电池包相同的项目。</translation>
    </message>
    <message>
        <source>
Rows: %1
</source>
        <translation>
参数行：%1
</translation>
    </message>
    <message>
        <source>the rate must be one of %1, not &quot;%2&quot;.</source>
        <translation>波特率必须是 %1 之一，而不是“%2”。</translation>
    </message>
    <message>
        <source>--parity must be N, E or O, not &quot;%1&quot;.</source>
        <translation>--parity 必须是 N、E 或 O，而不是“%1”。</translation>
    </message>
    <message>
        <source>--address takes whole numbers from 0 to 255, not &quot;%1&quot;.</source>
        <translation>--address 需要 0 到 255 的整数，而不是“%1”。</translation>
    </message>
    <message>
        <source>%1 works with one address at a time.</source>
        <translation>%1 一次只能用于一个地址。</translation>
    </message>
    <message>
        <source>--lang must be en or zh, not &quot;%1&quot;.</source>
        <translation>--lang 必须是 en 或 zh，而不是“%1”。</translation>
    </message>
    <message>
        <source>--timeout takes seconds from 0.1 to 3600, not &quot;%1&quot;.</source>
        <translation>--timeout 需要 0.1 到 3600 秒，而不是“%1”。</translation>
    </message>
    <message>
        <source>--from-newest takes a number of records from 1 to 65535.</source>
        <translation>--from-newest 需要 1 到 65535 的记录数。</translation>
    </message>
    <message>
        <source>%1 needs --out.</source>
        <translation>%1 需要 --out。</translation>
    </message>
    <message>
        <source>--out must end in .xls, .xlsx or .csv, not &quot;%1&quot;.</source>
        <translation>--out 必须以 .xls、.xlsx 或 .csv 结尾，而不是“%1”。</translation>
    </message>
    <message>
        <source>record needs --seconds with a whole number of seconds.</source>
        <translation>record 需要 --seconds 和整数秒数。</translation>
    </message>
    <message>
        <source>Poll the packs and publish their values to an MQTT broker until stopped, reconnecting to the broker and the serial line by itself.</source>
        <translation>轮询电池包并把数值发布到 MQTT 代理，直到停止；与代理或串口断开后自动重连。</translation>
    </message>
    <message>
        <source>The broker: a host name or address, optionally with :PORT (default 1883).</source>
        <translation>代理：主机名或地址，可带 :端口（默认 1883）。</translation>
    </message>
    <message>
        <source>The user name at the broker.</source>
        <translation>代理的用户名。</translation>
    </message>
    <message>
        <source>A file whose first line is the password at the broker.</source>
        <translation>一个文件，其第一行是代理的密码。</translation>
    </message>
    <message>
        <source>Connect with TLS; FILE is the certificate authority of the broker.</source>
        <translation>用 TLS 连接；FILE 是代理的证书颁发机构。</translation>
    </message>
    <message>
        <source>The first level of every topic (default cellvane).</source>
        <translation>每个主题的第一级（默认 cellvane）。</translation>
    </message>
    <message>
        <source>Seconds between two publications of a pack (default 5).</source>
        <translation>同一电池包两次发布之间的秒数（默认 5）。</translation>
    </message>
    <message>
        <source>Publish Home Assistant discovery configurations.</source>
        <translation>发布 Home Assistant 自动发现配置。</translation>
    </message>
    <message>
        <source>%1 needs --mqtt.</source>
        <translation>%1 需要 --mqtt。</translation>
    </message>
    <message>
        <source>--interval takes whole seconds from 1 to 86400, not &quot;%1&quot;.</source>
        <translation>--interval 取 1 到 86400 的整秒数，而不是“%1”。</translation>
    </message>
</context>
<context>
    <name>CliSession</name>
    <message>
        <source>The serial port %1 was disconnected.</source>
        <translation>串口 %1 已断开。</translation>
    </message>
    <message>
        <source>No serial port was found. Name one with --port.</source>
        <translation>未找到串口。请用 --port 指定。</translation>
    </message>
    <message>
        <source>COM%1 stands for no device here.</source>
        <translation>COM%1 在这里没有对应的设备。</translation>
    </message>
    <message>
        <source>The device %1 does not exist.</source>
        <translation>设备 %1 不存在。</translation>
    </message>
    <message>
        <source>Cannot open the serial port %1.</source>
        <translation>无法打开串口 %1。</translation>
    </message>
    <message>
        <source>The BMS at address %1 did not answer within %2 s.</source>
        <translation>地址 %1 的 BMS 在 %2 秒内没有应答。</translation>
    </message>
</context>
<context>
    <name>HistoryFile</name>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>无法写入“%1”：%2</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;.</source>
        <translation>无法写入“%1”。</translation>
    </message>
</context>
<context>
    <name>PublishCommand</name>
    <message>
        <source>MQTT: %1; trying again in %2 s.</source>
        <translation>MQTT：%1；%2 秒后重试。</translation>
    </message>
    <message>
        <source>The BMS at address %1 answers again.</source>
        <translation>地址 %1 的 BMS 又有应答了。</translation>
    </message>
    <message>
        <source>MQTT: connected.</source>
        <translation>MQTT：已连接。</translation>
    </message>
    <message>
        <source>this build has no MQTT bridge (libmosquitto).</source>
        <translation>此版本没有 MQTT 桥（libmosquitto）。</translation>
    </message>
</context>
</TS>
