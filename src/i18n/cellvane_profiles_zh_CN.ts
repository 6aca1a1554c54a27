<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ProfileValidator</name>
    <message>
        <source>The profile cannot be used; nothing was changed:</source>
        <translation>配置文件无法使用，未做任何更改：</translation>
    </message>
    <message>
        <source>The file is incomplete or not JSON (at character %1: %2)</source>
        <translation>文件不完整或不是 JSON 格式（第 %1 个字符：%2）</translation>
    </message>
    <message>
        <source>The file does not hold a profile</source>
        <translation>该文件不是配置文件</translation>
    </message>
    <message>
        <source>missing; this is not a profile</source>
        <translation>缺少，这不是配置文件</translation>
    </message>
    <message>
        <source>version %1 is not supported; this program reads version %2</source>
        <translation>不支持版本 %1，本程序读取版本 %2</translation>
    </message>
    <message>
        <source>unknown key</source>
        <translation>未知的键</translation>
    </message>
    <message>
        <source>must be text</source>
        <translation>必须是文本</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>缺少</translation>
    </message>
    <message>
        <source>must be a number</source>
        <translation>必须是数字</translation>
    </message>
    <message>
        <source>must be true or false</source>
        <translation>必须是 true 或 false</translation>
    </message>
    <message>
        <source>must be a whole number</source>
        <translation>必须是整数</translation>
    </message>
    <message>
        <source>%1 is not one of the choices</source>
        <translation>%1 不是可选的值</translation>
    </message>
    <message>
        <source>longer than %1 characters</source>
        <translation>超过 %1 个字符</translation>
    </message>
    <message>
        <source>must be at most %1 hexadecimal digits</source>
        <translation>最多 %1 位十六进制数字</translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>Cannot write the profile %1: %2</source>
        <translation>无法写入配置文件 %1：%2</translation>
    </message>
    <message>
        <source>Cannot open the profile %1: %2</source>
        <translation>无法打开配置文件 %1：%2</translation>
    </message>
</context>
<context>
    <name>ProfileCompare</name>
    <message>
        <source>Item</source>
        <translation>项目</translation>
    </message>
    <message>
        <source>Value in the pack</source>
        <translation>电池包中的值</translation>
    </message>
    <message>
        <source>Value in the file</source>
        <translation>文件中的值</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Differs</source>
        <translation>不同</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
</context>
</TS>
