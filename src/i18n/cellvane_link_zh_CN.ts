<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LinkController</name>
    <message>
        <source>Please open the serial port first</source>
        <translation>请先打开串口</translation>
    </message>
    <message>
        <source>Send the serial port error</source>
        <translation>发送串口错误</translation>
    </message>
    <message>
        <source>Send failed</source>
        <translation>发送失败</translation>
    </message>
    <message>
        <source>Open serial port</source>
        <translation>打开串口</translation>
    </message>
    <message>
        <source>Close serial port</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error: Closing Port COM%1fail，Please check COM%1Is it still being read or written or corrupted</source>
        <translation>错误：关闭端口COM%1失败，请检查COM%1是否还在读写或已损坏</translation>
    </message>
    <message>
        <source>The serial port COM%1 (%2) was disconnected. Check the cable and the adapter, then open the port again.</source>
        <translation>串口COM%1（%2）已断开，请检查连接线和转换器，然后重新打开串口。</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无校验</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
</context>
</TS>
