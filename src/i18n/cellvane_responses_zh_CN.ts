<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ResponseDispatcher</name>
    <message>
        <source>Communication pause</source>
        <translation>通迅暂停</translation>
    </message>
    <message>
        <source>project number</source>
        <translation>项目编号</translation>
    </message>
    <message>
        <source>BMS model</source>
        <translation>BMS型号</translation>
    </message>
    <message>
        <source>battery ID</source>
        <translation>电池ID</translation>
    </message>
    <message>
        <source>software and hardware version</source>
        <translation>软硬件版本</translation>
    </message>
    <message>
        <source>SOF</source>
        <translation>SOF</translation>
    </message>
    <message>
        <source>basic information</source>
        <translation>基本信息</translation>
    </message>
    <message>
        <source>cell temperatures</source>
        <translation>电芯温度</translation>
    </message>
    <message>
        <source>cell voltages</source>
        <translation>电芯电压</translation>
    </message>
    <message>
        <source>balancing state</source>
        <translation>均衡状态</translation>
    </message>
    <message>
        <source>custom text</source>
        <translation>自定义信息</translation>
    </message>
    <message>
        <source>An answer could not be decoded: it is shorter than its header</source>
        <translation>收到的应答无法解析：比帧头还短</translation>
    </message>
    <message>
        <source>Reading the %1 failed: its answer (item %2) could not be decoded</source>
        <translation>读取%1失败：应答（项 %2）无法解析</translation>
    </message>
    <message>
        <source>Reading item %1 failed: its answer could not be decoded</source>
        <translation>读取项 %1 失败：应答无法解析</translation>
    </message>
</context>
<context>
    <name>ResultMessages</name>
    <message>
        <source>Read succeeded</source>
        <translation>读取成功</translation>
    </message>
    <message>
        <source>Successfully read all</source>
        <translation>全部读取成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>one parameter row</comment>
        <translation>写入成功</translation>
    </message>
    <message>
        <source>Successfully set all</source>
        <translation>全部设置成功</translation>
    </message>
    <message>
        <source>Control succeeded</source>
        <translation>控制成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>short-circuit levels</comment>
        <translation>短路保护读取成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>short-circuit levels</comment>
        <translation>写入成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>project number</comment>
        <translation>项目编号写入成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>BMS model</comment>
        <translation>BMS型号写入成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>battery ID</comment>
        <translation>序列号写入成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>custom text</comment>
        <translation>自定义写入成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>IP address and port</comment>
        <translation>IP读取成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>IP address and port</comment>
        <translation>IP写入成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>production date</comment>
        <translation>生产日期写入成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>production date</comment>
        <translation>生产日期读取成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>passive balancing</comment>
        <translation>均衡参数写入成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>passive balancing</comment>
        <translation>读取均衡参数成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>cell and sensor counts</comment>
        <translation>设置数量成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>cell and sensor counts</comment>
        <translation>读取数量成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>capacity</comment>
        <translation>设置相关容量成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>capacity</comment>
        <translation>读取相关容量成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>zero-current calibration</comment>
        <translation>读取零点成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>zero-current calibration</comment>
        <translation>设零点成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>charge-current calibration</comment>
        <translation>读取充电系数成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>charge-current calibration</comment>
        <translation>设置充电校准成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>discharge-current calibration</comment>
        <translation>读取放电系数成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>discharge-current calibration</comment>
        <translation>设置放电校准成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>sampling resistor</comment>
        <translation>读取采样电阻成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>sampling resistor</comment>
        <translation>设置采样电阻成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>BMS time</comment>
        <translation>读取BMS时间成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>BMS time</comment>
        <translation>设置BMS时间成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>BMS serial settings</comment>
        <translation>读取波特率成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>BMS serial settings</comment>
        <translation>设置波特率成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>charging handshake</comment>
        <translation>读取充电握手成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>charging handshake</comment>
        <translation>设置充电握手成功</translation>
    </message>
    <message>
        <source>read successfully</source>
        <comment>custom selection</comment>
        <translation>读取自定义选择成功</translation>
    </message>
    <message>
        <source>Write succeeded</source>
        <comment>custom selection</comment>
        <translation>设置自定义选择成功</translation>
    </message>
    <message>
        <source>Export succeeded</source>
        <translation>导出成功</translation>
    </message>
    <message>
        <source>Read Complete</source>
        <translation>读取完成</translation>
    </message>
    <message>
        <source>Read Energy storage module succeeded</source>
        <translation>读取储能模块成功</translation>
    </message>
    <message>
        <source>Write Energy storage module succeeded</source>
        <translation>设置储能模块成功</translation>
    </message>
    <message>
        <source>Read PreDischarge parameters succeeded</source>
        <translation>读取预放电参数成功</translation>
    </message>
    <message>
        <source>Write PreDischarge parameters succeeded</source>
        <translation>设置预放电参数成功</translation>
    </message>
    <message>
        <source>Read Active balancing parameters succeeded</source>
        <translation>读取主动均衡参数成功</translation>
    </message>
    <message>
        <source>Write Active balancing parameters succeeded</source>
        <translation>设置主动均衡参数成功</translation>
    </message>
</context>
<context>
    <name>StatusNames</name>
    <message>
        <source>Cell_OV</source>
        <translation>单体电压过高</translation>
    </message>
    <message>
        <source>Cell_UV</source>
        <translation>单体电压过低</translation>
    </message>
    <message>
        <source>Total_OV </source>
        <translation>总电压过高</translation>
    </message>
    <message>
        <source>Total_UV</source>
        <translation>总电压过低</translation>
    </message>
    <message>
        <source>Discharge_OC1</source>
        <translation>放电过流1</translation>
    </message>
    <message>
        <source>Discharge_OC2 </source>
        <translation>放电过流2</translation>
    </message>
    <message>
        <source>Charge_OC </source>
        <translation>充电过流</translation>
    </message>
    <message>
        <source>Charge_OT </source>
        <translation>充电高温</translation>
    </message>
    <message>
        <source>Discharge_OT </source>
        <translation>放电高温</translation>
    </message>
    <message>
        <source>Charge_UT</source>
        <translation>充电低温</translation>
    </message>
    <message>
        <source>Discharge_UT </source>
        <translation>放电低温</translation>
    </message>
    <message>
        <source>MOS_OT</source>
        <translation>MOS温度过高</translation>
    </message>
    <message>
        <source>SOC_UC</source>
        <translation>SOC过低</translation>
    </message>
    <message>
        <source>Environment_OT</source>
        <translation>环境温度过高</translation>
    </message>
    <message>
        <source>Environment_UT</source>
        <translation>环境温度过低</translation>
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
        <source>Discharge MOS failure</source>
        <translation>放电MOS失效</translation>
    </message>
    <message>
        <source>Charging MOS failure</source>
        <translation>充电MOS失效</translation>
    </message>
    <message>
        <source>FLASH write fail</source>
        <translation>FLASH写失败</translation>
    </message>
    <message>
        <source>Low voltage charging forbid</source>
        <translation>低压禁止充电</translation>
    </message>
    <message>
        <source>Short circuit protection</source>
        <translation>短路保护</translation>
    </message>
    <message>
        <source>Reserved</source>
        <comment>unnamed fault bit, followed by its number</comment>
        <translation>保留</translation>
    </message>
    <message>
        <source>null</source>
        <translation>无</translation>
    </message>
    <message>
        <source>on</source>
        <comment>connected (switch, charger, load)</comment>
        <translation>接入</translation>
    </message>
    <message>
        <source>off</source>
        <comment>not connected (switch, charger, load)</comment>
        <translation>未接</translation>
    </message>
    <message>
        <source>on</source>
        <comment>switched on</comment>
        <translation>开</translation>
    </message>
    <message>
        <source>off</source>
        <comment>switched off</comment>
        <translation>关</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>discharge</source>
        <translation>放电</translation>
    </message>
    <message>
        <source>charge</source>
        <translation>充电</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>空闲</translation>
    </message>
</context>
</TS>
