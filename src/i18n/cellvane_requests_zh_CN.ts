<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>RequestBuilder</name>
    <message>
        <source>Communication pause</source>
        <translation>通迅暂停</translation>
    </message>
    <message>
        <source>Read Cell_OV</source>
        <translation>读取单节过压</translation>
    </message>
    <message>
        <source>Read Cell_UV</source>
        <translation>读取单节欠压</translation>
    </message>
    <message>
        <source>Read Total_OV</source>
        <translation>读取总压过压</translation>
    </message>
    <message>
        <source>Read Total_UV </source>
        <translation>读取总压欠压 </translation>
    </message>
    <message>
        <source>Read Discharge_OC1</source>
        <translation>读取放电过流1</translation>
    </message>
    <message>
        <source>Read Discharge_OC2</source>
        <translation>读取放电过流2</translation>
    </message>
    <message>
        <source>Read Charge_OC</source>
        <translation>读取充电过流</translation>
    </message>
    <message>
        <source>Read Charge_OT</source>
        <translation>读取充电高温</translation>
    </message>
    <message>
        <source>Read Discharge_OT</source>
        <translation>读取放电高温</translation>
    </message>
    <message>
        <source>Read Charge_UT</source>
        <translation>读取充电低温</translation>
    </message>
    <message>
        <source>Read Discharge_UT</source>
        <translation>读取放电低温</translation>
    </message>
    <message>
        <source>Read MOS_OT</source>
        <translation>读取MOS高温</translation>
    </message>
    <message>
        <source>Read SOC_UC</source>
        <translation>读取SOC过低</translation>
    </message>
    <message>
        <source>Read Environment_OT</source>
        <translation>读取环境高温</translation>
    </message>
    <message>
        <source>Read Environment_UT</source>
        <translation>读取环境低温</translation>
    </message>
    <message>
        <source>Read Cell_DIFT</source>
        <translation>读取温差过大</translation>
    </message>
    <message>
        <source>Read Cell_DIFV</source>
        <translation>读取压差过大</translation>
    </message>
    <message>
        <source>Read Project No.</source>
        <translation>读取项目编号</translation>
    </message>
    <message>
        <source>Read BMS model</source>
        <translation>读取BMS型号</translation>
    </message>
    <message>
        <source>Read Battery ID</source>
        <translation>读取序列号</translation>
    </message>
    <message>
        <source>Read Software ver and Hardware ver</source>
        <translation>读取软硬件版本号</translation>
    </message>
    <message>
        <source>Read Basic Information</source>
        <translation>读取基本信息1</translation>
    </message>
    <message>
        <source>Read Cell Temperature</source>
        <translation>读取单节温度</translation>
    </message>
    <message>
        <source>Read Cell Voltage</source>
        <translation>读取单节电压</translation>
    </message>
    <message>
        <source>Read Balanced</source>
        <translation>读取单节均衡</translation>
    </message>
    <message>
        <source>Read Custom</source>
        <translation>读取自定义</translation>
    </message>
</context>
<context>
    <name>SystemCommands</name>
    <message>
        <source>Read Project No.</source>
        <translation>读取项目编号</translation>
    </message>
    <message>
        <source>Write Project No.</source>
        <translation>设置项目编号</translation>
    </message>
    <message>
        <source>Read BMS model</source>
        <translation>读取BMS型号</translation>
    </message>
    <message>
        <source>Write BMS model</source>
        <translation>设置BMS型号</translation>
    </message>
    <message>
        <source>Read Battery ID</source>
        <translation>读取序列号</translation>
    </message>
    <message>
        <source>Write Battery ID</source>
        <translation>设置序列号</translation>
    </message>
    <message>
        <source>Read Custom</source>
        <translation>读取自定义</translation>
    </message>
    <message>
        <source>Write Custom</source>
        <translation>设置自定义</translation>
    </message>
    <message>
        <source>Read IP</source>
        <translation>读取IP</translation>
    </message>
    <message>
        <source>Write IP</source>
        <translation>设置IP</translation>
    </message>
    <message>
        <source>Read Balanced Settings</source>
        <translation>读取均衡参数</translation>
    </message>
    <message>
        <source>Write Balanced Settings</source>
        <translation>设置均衡参数</translation>
    </message>
    <message>
        <source>Write Production Date</source>
        <translation>设置生产日期</translation>
    </message>
    <message>
        <source>Read Production Date</source>
        <translation>读取生产日期</translation>
    </message>
    <message>
        <source>Write Number</source>
        <translation>设置数量</translation>
    </message>
    <message>
        <source>Read Number</source>
        <translation>读取数量</translation>
    </message>
    <message>
        <source>Read Capacity dependent</source>
        <translation>读取相关容量</translation>
    </message>
    <message>
        <source>Write Capacity dependent</source>
        <translation>设置相关容量</translation>
    </message>
    <message>
        <source>Write Charging calibration</source>
        <translation>设置充电校准</translation>
    </message>
    <message>
        <source>Read Charging calibration</source>
        <translation>读取充电校准系数</translation>
    </message>
    <message>
        <source>Read Zero calibration</source>
        <translation>读取零点校准</translation>
    </message>
    <message>
        <source>Write Zero calibration</source>
        <translation>设置零点校准</translation>
    </message>
    <message>
        <source>Write Discharge calibration</source>
        <translation>设置放电校准</translation>
    </message>
    <message>
        <source>Read Discharge calibration</source>
        <translation>读取放电校准系数</translation>
    </message>
    <message>
        <source>Write BMS time</source>
        <translation>设置BMS时间</translation>
    </message>
    <message>
        <source>Read BMS time</source>
        <translation>读取BMS时间</translation>
    </message>
    <message>
        <source>Read Sampling resistor</source>
        <translation>读取采样电阻</translation>
    </message>
    <message>
        <source>Write Sampling resistor</source>
        <translation>设置采样电阻</translation>
    </message>
    <message>
        <source>Read Baud rate</source>
        <translation>读取波特率</translation>
    </message>
    <message>
        <source>Write Baud rate</source>
        <translation>设置波特率</translation>
    </message>
    <message>
        <source>Write Charging handshake </source>
        <translation>设置充电握手 </translation>
    </message>
    <message>
        <source>Read Charging handshake</source>
        <translation>读取充电握手</translation>
    </message>
    <message>
        <source>Read Custom Selection</source>
        <translation>读取自定义选择</translation>
    </message>
    <message>
        <source>Write Custom Selection</source>
        <translation>设置自定义选择</translation>
    </message>
    <message>
        <source>Read Energy storage module</source>
        <translation>读取储能模块</translation>
    </message>
    <message>
        <source>Write Energy storage module</source>
        <translation>设置储能模块</translation>
    </message>
    <message>
        <source>Read PreDischarge parameters succeeded</source>
        <translation>读取预放电参数</translation>
    </message>
    <message>
        <source>Write PreDischarge parameters succeeded</source>
        <translation>设置预放电参数</translation>
    </message>
    <message>
        <source>Read Active balancing parameters</source>
        <translation>读取主动均衡参数</translation>
    </message>
    <message>
        <source>Write Active balancing parameters</source>
        <translation>设置主动均衡参数</translation>
    </message>
</context>
<context>
    <name>WriteEncoder</name>
    <message>
        <source>Cell_OV</source>
        <translation>单体过压</translation>
    </message>
    <message>
        <source>Cell_UV</source>
        <translation>单体欠压</translation>
    </message>
    <message>
        <source>Total_OV</source>
        <translation>总体过压</translation>
    </message>
    <message>
        <source>Total_UV</source>
        <translation>总体欠压</translation>
    </message>
    <message>
        <source>Discharge_OC1</source>
        <translation>放电过流1</translation>
    </message>
    <message>
        <source>Discharge_OC2</source>
        <translation>放电过流2</translation>
    </message>
    <message>
        <source>Charge_OC</source>
        <translation>充电过流</translation>
    </message>
    <message>
        <source>Charge_OT</source>
        <translation>充电高温</translation>
    </message>
    <message>
        <source>Discharge_OT</source>
        <translation>放电高温</translation>
    </message>
    <message>
        <source>Charge_UT</source>
        <translation>充电低温</translation>
    </message>
    <message>
        <source>Discharge_UT</source>
        <translation>放电低温</translation>
    </message>
    <message>
        <source>MOS_OT</source>
        <translation>MOS高温</translation>
    </message>
    <message>
        <source>SOC_UC</source>
        <translation>SOC过低</translation>
    </message>
    <message>
        <source>Environment_OT</source>
        <translation>环境高温</translation>
    </message>
    <message>
        <source>Environment_UT</source>
        <translation>环境低温</translation>
    </message>
    <message>
        <source>Cell_DIFT</source>
        <translation>温差过大</translation>
    </message>
    <message>
        <source>Cell_DIFV</source>
        <translation>压差过大</translation>
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
        <source>AlaVal</source>
        <translation>告警值</translation>
    </message>
    <message>
        <source>ProtDelay</source>
        <translation>保护延时</translation>
    </message>
    <message>
        <source>AlaDelay</source>
        <translation>告警延时</translation>
    </message>
    <message>
        <source>Short circuit voltage level</source>
        <translation>短路电压等级</translation>
    </message>
    <message>
        <source>Short circuit delay level</source>
        <translation>短路延时等级</translation>
    </message>
    <message>
        <source>Charge</source>
        <translation>充电</translation>
    </message>
    <message>
        <source>Discharge</source>
        <translation>放电</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>静置</translation>
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
        <source>SOC(%)</source>
        <translation>SOC(%)</translation>
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
        <source>USART</source>
        <translation>USART</translation>
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
        <source>Current limiting threshold(A)</source>
        <translation>充电限流阀值(A)</translation>
    </message>
    <message>
        <source>Current limiting time(S)</source>
        <translation>充电限流时间(S)</translation>
    </message>
    <message>
        <source>PreDisMode switch NormalMode time(S)</source>
        <translation>解发防打火切换正常模式时间(S)</translation>
    </message>
    <message>
        <source>%1: out of range, allowed %2 to %3</source>
        <translation>%1：超出范围，允许 %2 至 %3</translation>
    </message>
    <message>
        <source>Parameter cannot be empty</source>
        <translation>参数不能为空</translation>
    </message>
    <message>
        <source>%1: no entry selected</source>
        <translation>%1：未选择</translation>
    </message>
    <message>
        <source>%1: the character "%2" cannot be sent</source>
        <translation>%1：字符“%2”无法发送</translation>
    </message>
    <message>
        <source>%1: not a valid date (yyyy-mm-dd)</source>
        <translation>%1：不是有效日期(yyyy-mm-dd)</translation>
    </message>
    <message>
        <source>%1: not a number</source>
        <translation>%1：不是数字</translation>
    </message>
</context>
</TS>
