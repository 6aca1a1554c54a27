<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>HaDiscovery</name>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
    <message>
        <source>State of charge</source>
        <translation>荷电状态</translation>
    </message>
    <message>
        <source>State of health</source>
        <translation>健康状态</translation>
    </message>
    <message>
        <source>Highest cell</source>
        <translation>最高单体电压</translation>
    </message>
    <message>
        <source>Lowest cell</source>
        <translation>最低单体电压</translation>
    </message>
    <message>
        <source>Cell difference</source>
        <translation>单体压差</translation>
    </message>
    <message>
        <source>Highest temperature</source>
        <translation>最高温度</translation>
    </message>
    <message>
        <source>Lowest temperature</source>
        <translation>最低温度</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>告警</translation>
    </message>
    <message>
        <source>Battery at address %1</source>
        <translation>地址 %1 的电池</translation>
    </message>
    <message>
        <source>Battery %1</source>
        <translation>电池 %1</translation>
    </message>
    <message>
        <source>Battery pack</source>
        <translation>电池包</translation>
    </message>
</context>
<context>
    <name>MqttConnection</name>
    <message>
        <source>The broker did not answer within %1 s.</source>
        <translation>MQTT 服务器在 %1 秒内未应答。</translation>
    </message>
    <message>
        <source>The MQTT client cannot be created: %1</source>
        <translation>无法创建 MQTT 客户端：%1</translation>
    </message>
    <message>
        <source>The MQTT client refuses the options: %1</source>
        <translation>MQTT 客户端不接受这些选项：%1</translation>
    </message>
    <message>
        <source>TLS cannot be set up with %1: %2</source>
        <translation>无法使用 %1 建立 TLS：%2</translation>
    </message>
    <message>
        <source>The broker refused the connection: %1</source>
        <translation>MQTT 服务器拒绝连接：%1</translation>
    </message>
    <message>
        <source>The broker closed the connection.</source>
        <translation>MQTT 服务器关闭了连接。</translation>
    </message>
</context>
<context>
    <name>MqttOptions</name>
    <message>
        <source>No MQTT broker given.</source>
        <translation>未指定 MQTT 服务器。</translation>
    </message>
    <message>
        <source>The MQTT port must be between 1 and 65535.</source>
        <translation>MQTT 端口必须在 1 到 65535 之间。</translation>
    </message>
    <message>
        <source>The topic prefix "%1" is not usable: no '+', '#', leading '$' or empty levels.</source>
        <translation>主题前缀“%1”不可用：不能含有“+”、“#”、开头的“$”或空层级。</translation>
    </message>
    <message>
        <source>The discovery prefix "%1" is not usable.</source>
        <translation>发现前缀“%1”不可用。</translation>
    </message>
    <message>
        <source>The certificate file %1 cannot be read: %2</source>
        <translation>无法读取证书文件 %1：%2</translation>
    </message>
    <message>
        <source>The interval must be at least one second.</source>
        <translation>间隔至少为一秒。</translation>
    </message>
    <message>
        <source>The broker address "%1" lacks its closing ']'.</source>
        <translation>服务器地址“%1”缺少结尾的“]”。</translation>
    </message>
    <message>
        <source>The broker address "%1" is not HOST[:PORT].</source>
        <translation>服务器地址“%1”不是 主机[:端口] 格式。</translation>
    </message>
    <message>
        <source>The broker address "%1" has no host.</source>
        <translation>服务器地址“%1”没有主机。</translation>
    </message>
    <message>
        <source>The broker port "%1" is not a number from 1 to 65535.</source>
        <translation>服务器端口“%1”不是 1 到 65535 之间的数字。</translation>
    </message>
    <message>
        <source>The password file %1 does not exist.</source>
        <translation>密码文件 %1 不存在。</translation>
    </message>
    <message>
        <source>The password file %1 cannot be read: %2</source>
        <translation>无法读取密码文件 %1：%2</translation>
    </message>
    <message>
        <source>The password file %1 is empty.</source>
        <translation>密码文件 %1 为空。</translation>
    </message>
</context>
</TS>
