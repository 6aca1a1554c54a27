<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>view</source>
        <translation>视图</translation>
    </message>
</context>
<context>
    <name>ChartSeries</name>
    <message>
        <source>Total voltage</source>
        <translation>总电压</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>电流</translation>
    </message>
    <message>
        <source>SOC</source>
        <translation>SOC</translation>
    </message>
    <message>
        <source>Highest cell</source>
        <translation>最高单体</translation>
    </message>
    <message>
        <source>Lowest cell</source>
        <translation>最低单体</translation>
    </message>
    <message>
        <source>Cell difference</source>
        <translation>压差</translation>
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
        <source>Total voltage (V)</source>
        <translation>总电压(V)</translation>
    </message>
    <message>
        <source>Current (A)</source>
        <translation>电流(A)</translation>
    </message>
    <message>
        <source>SOC (%)</source>
        <translation>SOC(%)</translation>
    </message>
    <message>
        <source>Cell voltage (V)</source>
        <translation>单体电压(V)</translation>
    </message>
    <message>
        <source>Cell difference (mV)</source>
        <translation>压差(mV)</translation>
    </message>
    <message>
        <source>Temperature (℃)</source>
        <translation>温度(℃)</translation>
    </message>
</context>
<context>
    <name>RecordingReader</name>
    <message>
        <source>Cannot read the recording &quot;%1&quot;: %2</source>
        <translation>无法读取记录文件“%1”：%2</translation>
    </message>
</context>
<context>
    <name>ChartsWindow</name>
    <message>
        <source>Charts</source>
        <translation>图表</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <source>Save as PNG…</source>
        <translation>保存为 PNG…</translation>
    </message>
    <message>
        <source>Open recording…</source>
        <translation>打开记录…</translation>
    </message>
    <message>
        <source>%1: %2 lines from %3 to %4</source>
        <translation>%1：%2 行，从 %3 到 %4</translation>
    </message>
    <message>
        <source>&amp;Open recording…</source>
        <translation>打开记录(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>暂停(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>复位(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Source:</source>
        <translation>来源(&amp;S)：</translation>
    </message>
    <message>
        <source>&amp;Zoom in</source>
        <translation>放大(&amp;Z)</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 小时</translation>
    </message>
    <message>
        <source>24 hours</source>
        <translation>24 小时</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 分钟</translation>
    </message>
    <message>
        <source>All packs: total voltage and SOC</source>
        <translation>全部电池组：总电压和 SOC</translation>
    </message>
    <message>
        <source>Balancing is not recorded.</source>
        <translation>记录中没有均衡状态。</translation>
    </message>
    <message>
        <source>Balancing: cells %1</source>
        <translation>正在均衡：第 %1 节</translation>
    </message>
    <message>
        <source>Cell %1: %2 V</source>
        <translation>第 %1 节：%2 V</translation>
    </message>
    <message>
        <source>Cell voltage summary</source>
        <translation>单节电压概要</translation>
    </message>
    <message>
        <source>Cell voltages</source>
        <translation>单节电压</translation>
    </message>
    <message>
        <source>Cell voltages (V)</source>
        <translation>单节电压(V)</translation>
    </message>
    <message>
        <source>Chart status</source>
        <translation>图表状态</translation>
    </message>
    <message>
        <source>Highest: cell %1, %2 V   Lowest: cell %3, %4 V   Difference: %5 mV</source>
        <translation>最高：第 %1 节，%2 V   最低：第 %3 节，%4 V   压差：%5 mV</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>实时</translation>
    </message>
    <message>
        <source>No cell is balancing.</source>
        <translation>没有单节在均衡。</translation>
    </message>
    <message>
        <source>No cell voltages yet.</source>
        <translation>还没有单节电压。</translation>
    </message>
    <message>
        <source>P&amp;ack:</source>
        <translation>电池组(&amp;A)：</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Pack</source>
        <translation>电池组</translation>
    </message>
    <message>
        <source>Pack %1</source>
        <translation>电池组 %1</translation>
    </message>
    <message>
        <source>Reading the recording: %1 %</source>
        <translation>正在读取记录：%1 %</translation>
    </message>
    <message>
        <source>Recorded pack</source>
        <translation>记录的电池组</translation>
    </message>
    <message>
        <source>Recording: %1</source>
        <translation>记录：%1</translation>
    </message>
    <message>
        <source>S&amp;pan:</source>
        <translation>时段(&amp;P)：</translation>
    </message>
    <message>
        <source>SOC of every pack (%)</source>
        <translation>各电池组 SOC(%)</translation>
    </message>
    <message>
        <source>Save as P&amp;NG…</source>
        <translation>保存为 PNG(&amp;N)…</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存 %1</translation>
    </message>
    <message>
        <source>Showing %1 to %2</source>
        <translation>显示 %1 至 %2</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>Span</source>
        <translation>时段</translation>
    </message>
    <message>
        <source>Total voltage of every pack (V)</source>
        <translation>各电池组总电压(V)</translation>
    </message>
    <message>
        <source>lines left out (no readable time, or out of order): %1</source>
        <translation>略去的行（时间无法读取或顺序颠倒）：%1</translation>
    </message>
    <message>
        <source>only its last 24 hours are shown</source>
        <translation>只显示其最后 24 小时</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>单节</translation>
    </message>
    <message>
        <source>Cell, balancing</source>
        <translation>单节，均衡中</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>最高</translation>
    </message>
    <message>
        <source>Highest, balancing</source>
        <translation>最高，均衡中</translation>
    </message>
    <message>
        <source>Lowest</source>
        <translation>最低</translation>
    </message>
    <message>
        <source>Lowest, balancing</source>
        <translation>最低，均衡中</translation>
    </message>
    <message>
        <source>No values yet: they come with the polling of the information page.</source>
        <translation>还没有数据：数据随信息页面的轮询而来。</translation>
    </message>
    <message>
        <source>Shows the middle half of the time on show; dragging across a chart picks a stretch of time.</source>
        <translation>显示当前时段的中间一半；在图表上拖动可选取一段时间。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds no recorded values.</source>
        <translation>“%1”中没有记录的数据。</translation>
    </message>
    <message>
        <source>Cannot save the picture &quot;%1&quot;.</source>
        <translation>无法保存图片“%1”。</translation>
    </message>
</context>
</TS>
