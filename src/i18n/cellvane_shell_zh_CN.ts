<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Core</name>
    <message>
        <source>Communication pause</source>
        <translation>通迅暂停</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Cellvane talks to the battery management system of a lithium pack over a serial line. The serial port and everything else are chosen in the window.</source>
        <translation>Cellvane 通过串口与锂电池组的电池管理系统通讯。串口及其它设置都在窗口中选择。</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>显示本帮助并退出。</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
    <message>
        <source>Try cellvane --help.</source>
        <translation>请试试 cellvane --help。</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>多余的参数“%1”。</translation>
    </message>
</context>
</TS>
