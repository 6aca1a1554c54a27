<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>UpgradeController</name>
    <message>
        <source>Send upgrade data</source>
        <translation>发送升级数据</translation>
    </message>
    <message>
        <source>Upgrade succeeded</source>
        <translation>升级成功</translation>
    </message>
    <message>
        <source>Upgrade failed</source>
        <translation>升级失败</translation>
    </message>
</context>
<context>
    <name>FirmwareImage</name>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>文件 %1 不存在。</translation>
    </message>
    <message>
        <source>The file %1 cannot be read.</source>
        <translation>无法读取文件 %1。</translation>
    </message>
    <message>
        <source>The file %1 is empty: there is nothing to upgrade.</source>
        <translation>文件 %1 是空的，没有可升级的内容。</translation>
    </message>
    <message>
        <source>The file %1 is too large: an upgrade takes at most %2 bytes (%3 blocks of %4 bytes).</source>
        <translation>文件 %1 太大：升级文件最多 %2 字节（%3 个 %4 字节的数据块）。</translation>
    </message>
</context>
<context>
    <name>UpgradePanel</name>
    <message>
        <source>Upgrade module</source>
        <translation>升级模块</translation>
    </message>
    <message>
        <source>File directory:</source>
        <translation>     文件目录:</translation>
    </message>
    <message>
        <source>Upgrade Files</source>
        <translation>升级文件</translation>
    </message>
    <message>
        <source>Upgrade Object:</source>
        <translation>      升级对象:</translation>
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
        <source>Change baud upgrade:</source>
        <translation>     变波特率升级：</translation>
    </message>
    <message>
        <source>BMS Upgrade</source>
        <translation>BMS升级</translation>
    </message>
    <message>
        <source>     Progress:</source>
        <translation>    升级进度:</translation>
    </message>
</context>
</TS>
