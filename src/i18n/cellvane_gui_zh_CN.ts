<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>1. This software supports conventional UART, 485, 232, and other tools.</source>
        <translation>1、本软件支持常规的UART、485、232等工具。</translation>
    </message>
    <message>
        <source>2. For technical support, contact the supplier of your battery pack and quote the program version (Cellvane V1.6).</source>
        <translation>2、如需技术支持，请联系电池包供应商，并说明软件版本（Cellvane V1.6）。</translation>
    </message>
</context>
<context>
    <name>InfoPanel</name>
    <message>
        <source>ON</source>
        <comment>wake button</comment>
        <translation>执行</translation>
    </message>
    <message>
        <source>Version Information</source>
        <translation>版本信息</translation>
    </message>
    <message>
        <source>Software ver:</source>
        <translation>软件版本：</translation>
    </message>
    <message>
        <source>Hardware ver:</source>
        <translation>硬件版本：</translation>
    </message>
    <message>
        <source>Custom:</source>
        <translation> 自定义：</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>型号：</translation>
    </message>
    <message>
        <source>Item:</source>
        <translation>项目：</translation>
    </message>
    <message>
        <source>Battery Id:</source>
        <translation>  电池ID：</translation>
    </message>
    <message>
        <source>System State</source>
        <translation>系统状态</translation>
    </message>
    <message>
        <source>D_mos:</source>
        <translation>放电mos:</translation>
    </message>
    <message>
        <source>C_mos:</source>
        <translation>充电mos:</translation>
    </message>
    <message>
        <source>Pre_mos:</source>
        <translation>预放mos:</translation>
    </message>
    <message>
        <source>Heat_mos:</source>
        <translation>   加热:</translation>
    </message>
    <message>
        <source>Charger:</source>
        <translation>充电器:</translation>
    </message>
    <message>
        <source>Load:</source>
        <translation>负载:</translation>
    </message>
    <message>
        <source>Cur limiting:</source>
        <translation>      限流:</translation>
    </message>
    <message>
        <source>SW1:</source>
        <translation>开关1:</translation>
    </message>
    <message>
        <source> SW2:</source>
        <translation>开关2:</translation>
    </message>
    <message>
        <source>D_StrongOff:</source>
        <translation>   强关放电:</translation>
    </message>
    <message>
        <source>C_StrongOff:</source>
        <translation>   强关充电:</translation>
    </message>
    <message>
        <source>Reserved7:</source>
        <translation>   保留7:</translation>
    </message>
    <message>
        <source>Reserved2:</source>
        <translation>   保留2:</translation>
    </message>
    <message>
        <source>ActiveBalan:</source>
        <translation>主动均衡:</translation>
    </message>
    <message>
        <source>Reserved4:</source>
        <translation>   保留4:</translation>
    </message>
    <message>
        <source>Reserved%1:</source>
        <translation>  保留%1:</translation>
    </message>
    <message>
        <source>Basic Information</source>
        <translation>基本信息</translation>
    </message>
    <message>
        <source>Cell number:</source>
        <translation>电池数量：</translation>
    </message>
    <message>
        <source>Total Voltage(V):</source>
        <translation>总电压(V)：</translation>
    </message>
    <message>
        <source>Total Current(A):</source>
        <translation> 总电流(A)：</translation>
    </message>
    <message>
        <source>T_Average(℃):</source>
        <translation>平均温度(℃)：</translation>
    </message>
    <message>
        <source>V_Average(V):</source>
        <translation>平均电压(V)：</translation>
    </message>
    <message>
        <source>T_MOS(℃):</source>
        <translation>MOS温度(℃)：</translation>
    </message>
    <message>
        <source>V_difference(V):</source>
        <translation>    压差(V)：</translation>
    </message>
    <message>
        <source>T_difference(℃):</source>
        <translation>    温差(℃)：</translation>
    </message>
    <message>
        <source>T_Ambien(℃):</source>
        <translation>环境温度(℃)：</translation>
    </message>
    <message>
        <source>Full Capacity(AH):</source>
        <translation>实际容量(AH)：</translation>
    </message>
    <message>
        <source>Cycle Count:</source>
        <translation>循环次数：</translation>
    </message>
    <message>
        <source>Working State:</source>
        <translation>工作状态：</translation>
    </message>
    <message>
        <source>NTC number:</source>
        <translation>温度数量：</translation>
    </message>
    <message>
        <source>Min Cell Voltage(V):</source>
        <translation>最低单体电压(V)：</translation>
    </message>
    <message>
        <source>NO.of Min Voltage:</source>
        <translation>最低单体电压序号：</translation>
    </message>
    <message>
        <source>Max Cell Voltage(V):</source>
        <translation>最高单体电压(V)：</translation>
    </message>
    <message>
        <source>NO.of Max Voltage:</source>
        <translation>最高单体电压序号：</translation>
    </message>
    <message>
        <source>Min temperature(℃):</source>
        <translation>最低单体温度(℃)：</translation>
    </message>
    <message>
        <source>NO.of Min temperature:</source>
        <translation>最低单体温度序号：</translation>
    </message>
    <message>
        <source>Max temperature(℃):</source>
        <translation>最高单体温度(℃)：</translation>
    </message>
    <message>
        <source>NO.of Max temperature:</source>
        <translation>最高单体温度序号：</translation>
    </message>
    <message>
        <source>Cell Temperature(℃)</source>
        <translation>单体温度(℃)</translation>
    </message>
    <message>
        <source>T_%1：</source>
        <translation>温度%1：</translation>
    </message>
    <message>
        <source>Cell Voltage(mv)</source>
        <translation>单节电压(mv)</translation>
    </message>
    <message>
        <source>cell_%1:</source>
        <translation>单节%1:</translation>
    </message>
    <message>
        <source>Note: The blue background of the cell voltage indicates that it is passive balanced</source>
        <translation>注：单节电压蓝底表示在被动均衡</translation>
    </message>
    <message>
        <source>Alarm status</source>
        <translation>告警状态</translation>
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
        <source>CMOS</source>
        <translation>充电</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>Control commands</source>
        <translation>控制命令</translation>
    </message>
    <message>
        <source>Charge MOS off</source>
        <translation>断开充电MOS</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>Charge MOS on</source>
        <translation>开启充电MOS</translation>
    </message>
    <message>
        <source>DMOS</source>
        <translation>放电</translation>
    </message>
    <message>
        <source>Discharge MOS off</source>
        <translation>断开放电MOS</translation>
    </message>
    <message>
        <source>Discharge MOS on</source>
        <translation>开启放电MOS</translation>
    </message>
    <message>
        <source>sleep</source>
        <translation>休眠</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>进入休眠</translation>
    </message>
    <message>
        <source>reset</source>
        <translation> 复位</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位BMS</translation>
    </message>
    <message>
        <source>storage</source>
        <translation> 仓存</translation>
    </message>
    <message>
        <source>Storage mode</source>
        <translation>进入仓存模式</translation>
    </message>
    <message>
        <source>wake</source>
        <translation>唤醒</translation>
    </message>
    <message>
        <source>Wake</source>
        <translation>唤醒BMS</translation>
    </message>
    <message>
        <source>passive balancing</source>
        <translation>被动均衡中</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>The language choice could not be saved in %1; it applies until the program ends.</source>
        <translation>无法将语言选择保存到 %1；本次运行期间仍然有效。</translation>
    </message>
</context>
<context>
    <name>LinkPanel</name>
    <message>
        <source>Reconnect automatically</source>
        <translation>自动重连</translation>
    </message>
    <message>
        <source>When the port is lost (adapter unplugged) and the same device comes back, open it again without a message and go on.</source>
        <translation>串口断开（如拔下转换器）后，同一设备恢复时不弹出提示，自动重新打开并继续。</translation>
    </message>
    <message>
        <source>COM settings</source>
        <translation>通迅设置</translation>
    </message>
    <message>
        <source>COM selection</source>
        <translation>     COM 选择</translation>
    </message>
    <message>
        <source>   Baud rate</source>
        <translation>     波特率</translation>
    </message>
    <message>
        <source>  Parity bit</source>
        <translation>     奇偶位</translation>
    </message>
    <message>
        <source>    Data bits</source>
        <translation>      数据位</translation>
    </message>
    <message>
        <source>Communication address</source>
        <translation>           通迅地址</translation>
    </message>
    <message>
        <source>Communication protocol</source>
        <translation>            通讯协议</translation>
    </message>
    <message>
        <source>Refresh serial port</source>
        <translation>刷新串口</translation>
    </message>
    <message>
        <source>Bus scan</source>
        <translation>总线扫描</translation>
    </message>
    <message>
        <source>Ask every communication address from 0 to 16 which pack answers. The live reads pause meanwhile.</source>
        <translation>逐一询问通讯地址 0 至 16 上是否有电池组应答。扫描期间暂停实时读取。</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>扫描进度</translation>
    </message>
    <message>
        <source>Scan state</source>
        <translation>扫描状态</translation>
    </message>
    <message>
        <source>Packs found</source>
        <translation>找到的电池组</translation>
    </message>
</context>
<context>
    <name>PanelHost</name>
    <message>
        <source>serial setting</source>
        <translation> 串口设置</translation>
    </message>
    <message>
        <source>information</source>
        <translation> 状态信息</translation>
    </message>
    <message>
        <source>parameters</source>
        <translation>  设置参数</translation>
    </message>
    <message>
        <source>system</source>
        <translation> 系统设置</translation>
    </message>
    <message>
        <source>other settings </source>
        <translation> 其它设置 </translation>
    </message>
    <message>
        <source>store data</source>
        <translation> 存储数据 </translation>
    </message>
    <message>
        <source>BMS upgrade</source>
        <translation> BMS升级 </translation>
    </message>
    <message>
        <source>Communication :</source>
        <translation>通迅状态：</translation>
    </message>
</context>
</TS>
