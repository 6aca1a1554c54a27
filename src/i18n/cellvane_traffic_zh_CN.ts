<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CommandNames</name>
    <message>
        <source>Charge MOS off</source>
        <translation>充电MOS断开</translation>
    </message>
    <message>
        <source>Discharge MOS off</source>
        <translation>放电MOS断开</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>休眠</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>Storage mode</source>
        <translation>仓存模式</translation>
    </message>
    <message>
        <source>Charge MOS on</source>
        <translation>充电MOS开启</translation>
    </message>
    <message>
        <source>Discharge MOS on</source>
        <translation>放电MOS开启</translation>
    </message>
    <message>
        <source>Wake</source>
        <translation>唤醒</translation>
    </message>
    <message>
        <source>Read short circuit protection</source>
        <translation>读取短路保护</translation>
    </message>
    <message>
        <source>Write short circuit protection</source>
        <translation>设置短路保护</translation>
    </message>
    <message>
        <source>Read stored record count</source>
        <translation>读取存储记录数</translation>
    </message>
    <message>
        <source>Read stored record</source>
        <translation>读取存储记录</translation>
    </message>
    <message>
        <source>Upgrade APP</source>
        <translation>升级APP</translation>
    </message>
    <message>
        <source>Upgrade BOOT</source>
        <translation>升级BOOT</translation>
    </message>
    <message>
        <source>%1: start</source>
        <translation>%1：开始</translation>
    </message>
    <message>
        <source>%1: end</source>
        <translation>%1：结束</translation>
    </message>
    <message>
        <source>%1: block %2</source>
        <translation>%1：第%2块</translation>
    </message>
    <message>
        <source>Control command</source>
        <translation>控制命令</translation>
    </message>
</context>
<context>
    <name>TrafficModel</name>
    <message>
        <source>Time (ms)</source>
        <translation>时间 (ms)</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>CRC</source>
        <translation>CRC</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>报文</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>received</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>discarded 1 byte</source>
        <translation>丢弃 1 字节</translation>
    </message>
    <message>
        <source>discarded %1 bytes</source>
        <translation>丢弃 %1 字节</translation>
    </message>
    <message>
        <source>port opened: %1</source>
        <translation>打开串口：%1</translation>
    </message>
    <message>
        <source>%1 rows not recorded while paused</source>
        <translation>暂停期间未记录 %1 行</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>正确</translation>
    </message>
    <message>
        <source>bad</source>
        <translation>错误</translation>
    </message>
</context>
<context>
    <name>TrafficFile</name>
    <message>
        <source>Text files (*.txt)</source>
        <translation>文本文件 (*.txt)</translation>
    </message>
</context>
<context>
    <name>TrafficWindow</name>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>发送</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>接收</translation>
    </message>
    <message>
        <source>CRC errors and discarded bytes</source>
        <translation>CRC错误与丢弃字节</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>通讯报文</translation>
    </message>
    <message>
        <source>%1 of %2 rows</source>
        <translation>显示 %1 行，共 %2 行</translation>
    </message>
    <message>
        <source>All items</source>
        <translation>全部项目</translation>
    </message>
    <message>
        <source>&amp;Direction:</source>
        <translation>方向(&amp;D)：</translation>
    </message>
    <message>
        <source>&amp;Item:</source>
        <translation>项目(&amp;I)：</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>暂停(&amp;P)</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>清除(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Save…</source>
        <translation>保存(&amp;S)…</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Stop recording the traffic; press again to go on</source>
        <translation>停止记录通讯报文；再按一次继续</translation>
    </message>
    <message>
        <source>The traffic could not be saved to %1: %2</source>
        <translation>通讯报文无法保存到 %1：%2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>view</source>
        <translation>视图</translation>
    </message>
</context>
</TS>
