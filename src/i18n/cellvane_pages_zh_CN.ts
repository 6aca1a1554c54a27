<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
    <context>
        <name>ParamPanel</name>
        <message>
            <source>Name</source>
            <translation>参数名称</translation>
        </message>
        <message>
            <source>AlarmEnable</source>
            <translation>  告警使能</translation>
        </message>
        <message>
            <source>AlaVal</source>
            <translation>告警值</translation>
        </message>
        <message>
            <source>Unit</source>
            <translation>单位</translation>
        </message>
        <message>
            <source>AlaDelay</source>
            <translation>告警延时</translation>
        </message>
        <message>
            <source>ProtEnable</source>
            <translation>保护使能</translation>
        </message>
        <message>
            <source>ProtVal</source>
            <translation>保护值</translation>
        </message>
        <message>
            <source>ProtRecVal</source>
            <translation>保护恢复值</translation>
        </message>
        <message>
            <source>ProtDelay</source>
            <translation>保护延时</translation>
        </message>
        <message>
            <source>Alarm settings</source>
            <translation>告警设置</translation>
        </message>
        <message>
            <source>Read</source>
            <translation>读取</translation>
        </message>
        <message>
            <source>Write</source>
            <translation>设置</translation>
        </message>
        <message>
            <source>Read All</source>
            <translation>全部读取</translation>
        </message>
        <message>
            <source>Write All</source>
            <translation>全部写入</translation>
        </message>
        <message>
            <source>clear</source>
            <translation>清空</translation>
        </message>
        <message>
            <source>Short circuit protection</source>
            <translation>短路保护</translation>
        </message>
        <message>
            <source>Short circuit voltage level</source>
            <translation>      短路电压等级(0-15)</translation>
        </message>
        <message>
            <source>Short circuit delay level</source>
            <translation>短路延时等级(0-15)</translation>
        </message>
        <message>
            <source>Read short circuit protection</source>
            <translation>读取短路保护</translation>
        </message>
        <message>
            <source>Write short circuit protection</source>
            <translation>设置短路保护</translation>
        </message>
    </context>
    <context>
        <name>ParamRows</name>
        <message>
            <source>Cell_OV</source>
            <translation>单体过压</translation>
        </message>
        <message>
            <source>Write Cell_OV</source>
            <translation>设置单体过压</translation>
        </message>
        <message>
            <source>Cell_UV</source>
            <translation>单体欠压</translation>
        </message>
        <message>
            <source>Write Cell_UV</source>
            <translation>设置单体欠压</translation>
        </message>
        <message>
            <source>Total_OV</source>
            <translation>总体过压</translation>
        </message>
        <message>
            <source>Write Total_OV</source>
            <translation>设置总体过压</translation>
        </message>
        <message>
            <source>Total_UV</source>
            <translation>总体欠压</translation>
        </message>
        <message>
            <source>Write Total_UV</source>
            <translation>设置总体欠压</translation>
        </message>
        <message>
            <source>Discharge_OC1</source>
            <translation>放电过流1</translation>
        </message>
        <message>
            <source>Write Discharge_OC1</source>
            <translation>设置放电过流1</translation>
        </message>
        <message>
            <source>Discharge_OC2</source>
            <translation>放电过流2</translation>
        </message>
        <message>
            <source>Write Discharge_OC2</source>
            <translation>设置放电过流2</translation>
        </message>
        <message>
            <source>Charge_OC</source>
            <translation>充电过流</translation>
        </message>
        <message>
            <source>Write Charge_OC</source>
            <translation>设置充电过流</translation>
        </message>
        <message>
            <source>Charge_OT</source>
            <translation>充电高温</translation>
        </message>
        <message>
            <source>Write Charge_OT</source>
            <translation>设置充电高温</translation>
        </message>
        <message>
            <source>Discharge_OT</source>
            <translation>放电高温</translation>
        </message>
        <message>
            <source>Write Discharge_OT</source>
            <translation>设置放电高温</translation>
        </message>
        <message>
            <source>Charge_UT</source>
            <translation>充电低温</translation>
        </message>
        <message>
            <source>Write Charge_UT</source>
            <translation>设置充电低温</translation>
        </message>
        <message>
            <source>Discharge_UT</source>
            <translation>放电低温</translation>
        </message>
        <message>
            <source>Write Discharge_UT</source>
            <translation>设置放电低温</translation>
        </message>
        <message>
            <source>MOS_OT</source>
            <translation>MOS高温</translation>
        </message>
        <message>
            <source>Write MOS_OT</source>
            <translation>设置MOS高温</translation>
        </message>
        <message>
            <source>SOC_UC</source>
            <translation>SOC过低</translation>
        </message>
        <message>
            <source>Write SOC_UC</source>
            <translation>设置SOC过低</translation>
        </message>
        <message>
            <source>Environment_OT</source>
            <translation>环境高温</translation>
        </message>
        <message>
            <source>Write Environment_OT</source>
            <translation>设置环境高温</translation>
        </message>
        <message>
            <source>Environment_UT</source>
            <translation>环境低温</translation>
        </message>
        <message>
            <source>Write Environment_UT</source>
            <translation>设置环境低温</translation>
        </message>
        <message>
            <source>Cell_DIFT</source>
            <translation>温差过大</translation>
        </message>
        <message>
            <source>Write Cell_DIFT</source>
            <translation>设置温差过大</translation>
        </message>
        <message>
            <source>Cell_DIFV</source>
            <translation>压差过大</translation>
        </message>
        <message>
            <source>Write Cell_DIFV</source>
            <translation>设置压差过大</translation>
        </message>
    </context>
    <context>
        <name>SystemPanel</name>
        <message>
            <source>Project No</source>
            <translation>项目号</translation>
        </message>
        <message>
            <source>BMS model</source>
            <translation>BMS型号</translation>
        </message>
        <message>
            <source>Battery ID</source>
            <translation>电池ID</translation>
        </message>
        <message>
            <source>Custom</source>
            <translation>自定义</translation>
        </message>
        <message>
            <source>IP/Web</source>
            <translation>IP/网址</translation>
        </message>
        <message>
            <source>Port number</source>
            <translation>端口号</translation>
        </message>
        <message>
            <source>Production Date</source>
            <translation>生产日期</translation>
        </message>
        <message>
            <source>Shipping Date</source>
            <translation>出货日期</translation>
        </message>
        <message>
            <source>Batch</source>
            <translation>批次</translation>
        </message>
        <message>
            <source>Enable</source>
            <translation>使能</translation>
        </message>
        <message>
            <source>open volt(V)</source>
            <translation>开启电压(V)</translation>
        </message>
        <message>
            <source>Balanced diff volt(V)</source>
            <translation>均衡压差(V)</translation>
        </message>
        <message>
            <source>Closed volt(V)</source>
            <translation>关闭电压(V)</translation>
        </message>
        <message>
            <source>Cell number</source>
            <translation>电池串数</translation>
        </message>
        <message>
            <source>Low Cell number</source>
            <translation>低端串数</translation>
        </message>
        <message>
            <source>NTC number</source>
            <translation>温度数量</translation>
        </message>
        <message>
            <source>Cycles Number</source>
            <translation>循环次数</translation>
        </message>
        <message>
            <source>Standard capacity(AH)</source>
            <translation>标准容量(AH)</translation>
        </message>
        <message>
            <source>Full capacity(AH)</source>
            <translation>实际容量(AH)</translation>
        </message>
        <message>
            <source>80% attenuation cycles</source>
            <translation>80%衰减循环次数</translation>
        </message>
        <message>
            <source>Zero calibration</source>
            <translation>零点校准</translation>
        </message>
        <message>
            <source>Charging calibration</source>
            <translation>充电校准</translation>
        </message>
        <message>
            <source>Discharge calibration</source>
            <translation>放电校准</translation>
        </message>
        <message>
            <source>Sampling resistor(mR)</source>
            <translation>采样电阻(mR)</translation>
        </message>
        <message>
            <source>Baud rate</source>
            <translation>波特率</translation>
        </message>
        <message>
            <source>Parity bit</source>
            <translation>奇偶位</translation>
        </message>
        <message>
            <source>BMSADD</source>
            <translation>BMS地址</translation>
        </message>
        <message>
            <source>Current limiting mode</source>
            <translation>充电限流模式</translation>
        </message>
        <message>
            <source>Current limiting enable</source>
            <translation>充电限流使能</translation>
        </message>
        <message>
            <source>Current limiting threshold(A)</source>
            <translation>充电限流阀值(A)</translation>
        </message>
        <message>
            <source>Current limiting time(S)</source>
            <translation>         充电限流时间(S)</translation>
        </message>
        <message>
            <source>C_Bla_En</source>
            <translation>充电均衡使能</translation>
        </message>
        <message>
            <source>D_Bla_En</source>
            <translation>放电均衡使能</translation>
        </message>
        <message>
            <source>Idle_Bla_En</source>
            <translation>静置均衡使能</translation>
        </message>
        <message>
            <source>Open_V</source>
            <translation>开启电压</translation>
        </message>
        <message>
            <source>Close_V</source>
            <translation>关闭电压</translation>
        </message>
        <message>
            <source>Open_DIV</source>
            <translation>开启压差</translation>
        </message>
        <message>
            <source>Close_DIV</source>
            <translation>关闭压差</translation>
        </message>
        <message>
            <source>Time(S)</source>
            <translation>时间(S)</translation>
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
        <message>
            <source>Product Settings</source>
            <translation>产品设置</translation>
        </message>
        <message>
            <source>Calibration current</source>
            <translation>校准电流</translation>
        </message>
        <message>
            <source>Number</source>
            <translation>数量</translation>
        </message>
        <message>
            <source>Manufacturing Date</source>
            <translation>出厂日期</translation>
        </message>
        <message>
            <source>Capacity dependent</source>
            <translation>容量相关</translation>
        </message>
        <message>
            <source>Passive Balanced Settings</source>
            <translation>被动均衡设置</translation>
        </message>
        <message>
            <source>BMS time</source>
            <translation>BMS时间</translation>
        </message>
        <message>
            <source>Energy storage module</source>
            <translation>储能模块</translation>
        </message>
        <message>
            <source>PreDischarge Setting</source>
            <translation>预放电设置</translation>
        </message>
        <message>
            <source>No PreDischarge</source>
            <translation>无预放电</translation>
        </message>
        <message>
            <source>PreDischarge method1</source>
            <translation>预放电方式1</translation>
        </message>
        <message>
            <source>PreDisMode switch NormalMode time(S)</source>
            <translation>解发防打火切换正常模式时间(S)</translation>
        </message>
        <message>
            <source>Charging handshake</source>
            <translation>充电握手</translation>
        </message>
        <message>
            <source>Disable(0)</source>
            <translation>禁止(0)</translation>
        </message>
        <message>
            <source>Enable(1)</source>
            <translation>使能(1)</translation>
        </message>
        <message>
            <source>Custom Selection</source>
            <translation>自定选择</translation>
        </message>
        <message>
            <source>Active Balanced Settings(V)</source>
            <translation>主动均衡设置(V)</translation>
        </message>
        <message>
            <source>Read</source>
            <translation>读取</translation>
        </message>
        <message>
            <source>Write</source>
            <translation>设置</translation>
        </message>
    </context>
</TS>
