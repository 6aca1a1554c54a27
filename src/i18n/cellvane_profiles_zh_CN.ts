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
<context>
    <name>ProfileSession</name>
    <message>
        <source>verified</source>
        <translation>已校验</translation>
    </message>
    <message>
        <source>the pack returned %1</source>
        <translation>电池包返回 %1</translation>
    </message>
    <message>
        <source>written, but could not be read back</source>
        <translation>已写入，但无法读回</translation>
    </message>
    <message>
        <source>sent, but the pack did not confirm it</source>
        <translation>已发送，但电池包未确认</translation>
    </message>
    <message>
        <source>not written</source>
        <translation>未写入</translation>
    </message>
    <message>
        <source>Profile saved to %1</source>
        <translation>配置文件已保存到 %1</translation>
    </message>
    <message>
        <source>Items that differ between the pack and the profile: %1</source>
        <translation>电池包与配置文件不同的项数：%1</translation>
    </message>
    <message>
        <source>The pack already holds every setting of the profile; nothing was written.</source>
        <translation>电池包已包含配置文件的全部设置，未写入任何内容。</translation>
    </message>
    <message>
        <source>%1 of %2 written items verified.</source>
        <translation>已写入的 %2 项中有 %1 项校验通过。</translation>
    </message>
    <message>
        <source>The bus scan has the line; try again when it has finished.</source>
        <translation>总线扫描正在占用线路，请在扫描结束后重试。</translation>
    </message>
    <message>
        <source>An upgrade is running; try again when it has finished.</source>
        <translation>正在升级，请在升级结束后重试。</translation>
    </message>
    <message>
        <source>The live readings did not pause; nothing was sent.</source>
        <translation>实时读取未能暂停，未发送任何内容。</translation>
    </message>
    <message>
        <source>Read All of the parameter page</source>
        <translation>参数页全部读取</translation>
    </message>
    <message>
        <source>Read the short-circuit levels</source>
        <translation>读取短路等级</translation>
    </message>
    <message>
        <source>Write the short-circuit levels</source>
        <translation>写入短路等级</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>its answer could not be decoded</source>
        <translation>应答无法解析</translation>
    </message>
    <message>
        <source>the pack did not answer</source>
        <translation>电池包未应答</translation>
    </message>
    <message>
        <source>Reading the pack failed at %1. Nothing was saved.</source>
        <translation>读取电池包在 %1 处失败，未保存任何内容。</translation>
    </message>
    <message>
        <source>Reading the pack failed at %1. Nothing was compared.</source>
        <translation>读取电池包在 %1 处失败，未进行比较。</translation>
    </message>
    <message>
        <source>Reading the pack failed at %1. Nothing was written.</source>
        <translation>读取电池包在 %1 处失败，未写入任何内容。</translation>
    </message>
    <message>
        <source>The apply stopped at %1: %2 of %3 writes were confirmed. The items below say what was and was not written.</source>
        <translation>应用在 %1 处中止：%3 次写入中有 %2 次已确认。下列各项说明了哪些已写入、哪些未写入。</translation>
    </message>
    <message>
        <source>Cannot make the folder %1.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <source>%1 items will be written to the pack; %2 of them change what it holds now. Write them?</source>
        <translation>将向电池包写入 %1 项，其中 %2 项会改变其当前值。是否写入？</translation>
    </message>
    <message>
        <source>Items that will change on the pack: %1. Write them?</source>
        <translation>电池包上将被更改的项数：%1。是否写入？</translation>
    </message>
    <message>
        <source>Apply profile</source>
        <translation>应用配置文件</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何内容。</translation>
    </message>
    <message>
        <source>%1 of %2 written items did not read back as written.</source>
        <translation>已写入的 %2 项中有 %1 项读回值与写入值不符。</translation>
    </message>
</context>
<context>
    <name>ProfileActions</name>
    <message>
        <source>Settings profiles (*%1)</source>
        <translation>配置文件 (*%1)</translation>
    </message>
    <message>
        <source>The program has no data folder to save it in.</source>
        <translation>程序没有可用于保存的数据文件夹。</translation>
    </message>
    <message>
        <source>The parameter and system pages show the profile %1. Nothing was sent; the pages' Write buttons write it to the pack.</source>
        <translation>参数页和系统页已显示配置文件 %1，未发送任何内容；请用页面上的设置按钮将其写入电池包。</translation>
    </message>
    <message>
        <source>Profile saved to %1</source>
        <translation>配置文件已保存到 %1</translation>
    </message>
    <message>
        <source>A profile is being read or written; start the upgrade when it has finished.</source>
        <translation>正在读取或写入配置文件，请在完成后再开始升级。</translation>
    </message>
    <message>
        <source>Backup failed</source>
        <translation>备份失败</translation>
    </message>
    <message>
        <source>The profile of this pack could not be saved:
%1

Upgrade anyway?</source>
        <translation>无法保存此电池包的配置文件：
%1

仍然升级吗？</translation>
    </message>
    <message>
        <source>Compare with pack</source>
        <translation>与电池包比较</translation>
    </message>
    <message>
        <source>Compare the pack with the profile saved before the upgrade?
%1</source>
        <translation>是否将电池包与升级前保存的配置文件进行比较？
%1</translation>
    </message>
    <message>
        <source>profile</source>
        <translation>配置文件</translation>
    </message>
    <message>
        <source>Save profile...</source>
        <translation>保存配置文件...</translation>
    </message>
    <message>
        <source>Open profile...</source>
        <translation>打开配置文件...</translation>
    </message>
    <message>
        <source>Compare with pack...</source>
        <translation>与电池包比较...</translation>
    </message>
    <message>
        <source>Apply to pack...</source>
        <translation>应用到电池包...</translation>
    </message>
    <message>
        <source>Save profile from the parameter page</source>
        <translation>从设置参数页保存配置文件</translation>
    </message>
    <message>
        <source>Save profile from the system page</source>
        <translation>从系统设置页保存配置文件</translation>
    </message>
    <message>
        <source>Reads every parameter and system setting from the pack and saves them in a profile file</source>
        <translation>从电池包读取全部参数和系统设置并保存为配置文件</translation>
    </message>
    <message>
        <source>Save a profile of this pack first</source>
        <translation>先保存此电池包的配置文件</translation>
    </message>
</context>
<context>
    <name>ProfileCompareDialog</name>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>The comparison was saved to %1</source>
        <translation>比较结果已保存到 %1</translation>
    </message>
    <message>
        <source>Compare with pack</source>
        <translation>与电池包比较</translation>
    </message>
    <message>
        <source>Compare with pack: %1</source>
        <translation>与电池包比较：%1</translation>
    </message>
    <message>
        <source>Items that differ between the pack and the profile: %1</source>
        <translation>电池包与配置文件不同的项数：%1</translation>
    </message>
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
        <source>Comparison</source>
        <translation>比较结果</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>ProfileApplyDialog</name>
    <message>
        <source>Apply to pack</source>
        <translation>应用到电池包</translation>
    </message>
    <message>
        <source>Profile: %1</source>
        <translation>配置文件：%1</translation>
    </message>
    <message>
        <source>Write only the items that differ</source>
        <translation>只写入不同的项</translation>
    </message>
    <message>
        <source>Write every item</source>
        <translation>写入全部项</translation>
    </message>
    <message>
        <source>Also write the identity (project number, battery ID, dates, batch)</source>
        <translation>同时写入身份信息（项目号、电池ID、日期、批次）</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ProfileReportDialog</name>
    <message>
        <source>Apply to pack</source>
        <translation>应用到电池包</translation>
    </message>
    <message>
        <source>Apply report</source>
        <translation>应用报告</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
</TS>
