<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>SimOptions</name>
    <message>
        <location filename="../sim/main.cpp" line="37"/>
        <source>Try cellvane-sim --help.</source>
        <translation>请运行 cellvane-sim --help 查看用法。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="38"/>
        <source>--%1 must be a whole number from %2 to %3, not &quot;%4&quot;</source>
        <translation>--%1 必须是 %2 到 %3 之间的整数，而不是“%4”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="58"/>
        <source>--%1 must be a number from %2 to %3, not &quot;%4&quot;</source>
        <translation>--%1 必须是 %2 到 %3 之间的数，而不是“%4”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="77"/>
        <source>A simulated battery management system on a serial line: answers the Cellvane protocol with a moving pack, remembered settings, stored history records and firmware upgrades.</source>
        <translation>串口上的模拟电池管理系统：以实时变化的电池包、可保存的参数设置、历史存储记录和固件升级应答 Cellvane 协议。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="83"/>
        <source>Show this help.</source>
        <translation>显示本帮助。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="95"/>
        <source>Create a pseudo-terminal, make PATH a symbolic link to it, print the device on stdout and serve until SIGINT/SIGTERM; the link is removed at the end.</source>
        <translation>创建伪终端，以 PATH 作为指向它的符号链接，在标准输出打印设备名，并一直服务到收到 SIGINT/SIGTERM；结束时删除该链接。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="101"/>
        <source>Serve an existing serial device instead (opened 9600 8N1).</source>
        <translation>改为在已有的串口设备上服务（以 9600 8N1 打开）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="105"/>
        <source>Communication address the pack answers (0-255, default 255).</source>
        <translation>电池包应答的通讯地址（0-255，默认 255）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="109"/>
        <source>Protocol code the pack answers (0-255, default 16).</source>
        <translation>电池包应答的协议代码（0-255，默认 16）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="111"/>
        <source>Number of cells (1-32, default 16).</source>
        <translation>电池串数（1-32，默认 16）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="112"/>
        <source>Number of temperature sensors (1-12, default 4).</source>
        <translation>温度传感器数量（1-12，默认 4）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="115"/>
        <source>Stored history records (0-65535, default 200).</source>
        <translation>历史存储记录条数（0-65535，默认 200）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="116"/>
        <source>Seed of all randomness (default 1).</source>
        <translation>所有随机过程的种子（默认 1）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="117"/>
        <source>Probability that a request is lost (no answer).</source>
        <translation>请求丢失（不应答）的概率。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="119"/>
        <source>Probability that an answer has a broken CRC.</source>
        <translation>应答 CRC 错误的概率。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="121"/>
        <source>Probability of junk bytes before an answer.</source>
        <translation>应答前出现干扰字节的概率。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="124"/>
        <source>Deliver every answer in small chunks with short gaps.</source>
        <translation>每个应答分成小段、间隔短暂地发送。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="125"/>
        <source>Answer latency in milliseconds (0-60000).</source>
        <translation>应答延时，单位毫秒（0-60000）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="128"/>
        <source>Write every image of a completed upgrade into DIR.</source>
        <translation>把每次完成升级所收到的固件写入 DIR。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="131"/>
        <source>Time-lapse factor of the battery (default 10; 0 freezes it).</source>
        <translation>电池的时间加速倍数（默认 10；0 表示冻结）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="135"/>
        <source>Hold this current in amperes (charge positive) instead of the charge/discharge cycle.</source>
        <translation>保持此电流（安培，充电为正），不运行充放电循环。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="140"/>
        <source>Capacity in ampere-hours (1-650, default 100).</source>
        <translation>容量，单位安时（1-650，默认 100）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="141"/>
        <source>State of charge at start in percent (default 80).</source>
        <translation>启动时的 SOC 百分比（默认 80）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="144"/>
        <source>Fault bits to report, 16-bit mask (e.g. 0x0011).</source>
        <translation>要上报的故障位，16 位掩码（例如 0x0011）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="146"/>
        <source>The pack&apos;s line rate (default 9600).</source>
        <translation>电池包的串口波特率（默认 9600）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="147"/>
        <source>The pack&apos;s parity: N, E or O (default N).</source>
        <translation>电池包的校验位：N、E 或 O（默认 N）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="150"/>
        <source>USART the line is wired to: a serial-settings write to it switches the line.</source>
        <translation>该线路所接的 USART：对它写入串口设置会切换线路。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="155"/>
        <source>Answer whatever rate and parity the host&apos;s side of a pseudo-terminal has.</source>
        <translation>无论主机一侧伪终端的波特率和校验位如何都应答。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="159"/>
        <source>Keep a JSON status (line settings seen, counters, pack values) in FILE.</source>
        <translation>在 FILE 中保存 JSON 状态（观察到的线路设置、计数、电池包数值）。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="163"/>
        <source>Log every request and answer on stderr.</source>
        <translation>在标准错误输出记录每个请求和应答。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="175"/>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>多余的参数“%1”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="184"/>
        <source>give exactly one of --link PATH and --port DEVICE</source>
        <translation>请只给出 --link PATH 和 --port DEVICE 中的一个</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="217"/>
        <source>--parity must be N, E or O, not &quot;%1&quot;</source>
        <translation>--parity 必须是 N、E 或 O，而不是“%1”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="124"/>
        <source>--%1 takes addresses from 0 to 255, each optionally followed by :SECONDS (1 to 3600), separated by commas, not &quot;%2&quot;</source>
        <translation>--%1 需要用逗号分隔的 0 到 255 之间的地址，每个地址后可跟 :秒数（1 到 3600），而不是“%2”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="124"/>
        <source>--%1 takes addresses from 0 to 255 separated by commas, not &quot;%2&quot;</source>
        <translation>--%1 需要用逗号分隔的 0 到 255 之间的地址，而不是“%2”</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="149"/>
        <source>give either --address or --packs, not both</source>
        <translation>请只给出 --address 和 --packs 中的一个</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="161"/>
        <source>--packs lists address %1 twice (--clash puts two packs at one address)</source>
        <translation>--packs 中地址 %1 出现了两次（要在同一地址放两个电池包请用 --clash）</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="182"/>
        <source>at most %1 packs on one line</source>
        <translation>一条线路上最多 %1 个电池包</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="227"/>
        <source>--offline %1: no pack at that address</source>
        <translation>--offline %1：该地址上没有电池包</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="278"/>
        <source>Serve one pack per address on the same line, e.g. 1,2,5 (instead of --address); each pack has its own state of charge, cell count and history, the second a drifted cell and the third a hot sensor with its alarm.</source>
        <translation>在同一条线路上为每个地址模拟一个电池包，例如 1,2,5（代替 --address）；每个电池包有自己的 SOC、电芯数和历史记录，第二个有一节偏离的电芯，第三个有一个过热的温度传感器及其告警。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="284"/>
        <source>Packs that stay silent, e.g. 5 or 5,9; with A:S the pack at A is silent S seconds and then answers S seconds, in turns.</source>
        <translation>不应答的电池包，例如 5 或 5,9；写成 A:S 时，地址 A 的电池包交替地沉默 S 秒、应答 S 秒。</translation>
    </message>
    <message>
        <location filename="../sim/SimOptions.cpp" line="290"/>
        <source>Put two packs at each of these addresses: both answer at once and their bytes collide on the line (a bitwise AND, as a driven 0 wins), so the CRC fails.</source>
        <translation>在这些地址上各放两个电池包：两者同时应答，字节在线路上冲突（按位与，驱动的 0 位占优），因此 CRC 校验失败。</translation>
    </message>
</context>
<context>
    <name>SimOptions</name>
    <message>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
</context>
</TS>
