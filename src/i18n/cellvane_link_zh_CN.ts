<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LinkController</name>
    <message>
        <source>Please open the serial port first</source>
        <translation>请先打开串口</translation>
    </message>
    <message>
        <source>Send the serial port error</source>
        <translation>发送串口错误</translation>
    </message>
    <message>
        <source>Send failed</source>
        <translation>发送失败</translation>
    </message>
    <message>
        <source>Open serial port</source>
        <translation>打开串口</translation>
    </message>
    <message>
        <source>Close serial port</source>
        <translation>关闭串口</translation>
    </message>
    <message>
        <source>warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Error: Closing Port COM%1fail，Please check COM%1Is it still being read or written or corrupted</source>
        <translation>错误：关闭端口COM%1失败，请检查COM%1是否还在读写或已损坏</translation>
    </message>
    <message>
        <source>The serial port COM%1 (%2) was disconnected. Check the cable and the adapter, then open the port again.</source>
        <translation>串口COM%1（%2）已断开，请检查连接线和转换器，然后重新打开串口。</translation>
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
        <source> (no permission)</source>
        <translation>（无权限）</translation>
    </message>
    <message>
        <source> (in use)</source>
        <translation>（被占用）</translation>
    </message>
    <message>
        <source>You have no permission to open this port.</source>
        <translation>没有打开此串口的权限。</translation>
    </message>
    <message>
        <source>Another program is using this port.</source>
        <translation>此串口正被其他程序使用。</translation>
    </message>
    <message>
        <source>You have no permission to open COM%1 (%2). On Linux, add your user to the group &quot;%3&quot; that owns the device:
    sudo usermod -aG %3 $USER
then log out and log in again, and open the port once more.</source>
        <translation>没有打开串口COM%1（%2）的权限。在 Linux 上，请把当前用户加入拥有该设备的用户组“%3”：
    sudo usermod -aG %3 $USER
然后注销并重新登录，再打开串口。</translation>
    </message>
</context>
<context>
    <name>Reconnector</name>
    <message>
        <source>COM%1 (%2) was disconnected at %3.</source>
        <translation>串口COM%1（%2）于%3断开。</translation>
    </message>
    <message>
        <source>It will be opened again as soon as it is back.</source>
        <translation>设备恢复后将自动重新打开。</translation>
    </message>
    <message>
        <source>Recording has stopped; its file is &quot;%1&quot;.</source>
        <translation>实时记录已停止，文件为“%1”。</translation>
    </message>
    <message>
        <source>COM%1 (%2) was reconnected at %3.</source>
        <translation>串口COM%1（%2）已于%3重新连接。</translation>
    </message>
    <message>
        <source>Recording goes on in a new file, &quot;%1&quot;.</source>
        <translation>实时记录继续写入新文件“%1”。</translation>
    </message>
</context>
<context>
    <name>SettingsRecord</name>
    <message>
        <source>The choice could not be saved in %1; it applies until the program ends.</source>
        <translation>无法将此选择保存到 %1；本次运行期间仍然有效。</translation>
    </message>
</context>
<context>
    <name>ScanController</name>
    <message>
        <source>Scan bus</source>
        <translation>扫描总线</translation>
    </message>
    <message>
        <source>Stop scan</source>
        <translation>停止扫描</translation>
    </message>
    <message>
        <source>The packs found could not be saved in %1; they are offered until the program ends.</source>
        <translation>无法将找到的电池组保存到 %1；本次运行期间仍可使用。</translation>
    </message>
    <message>
        <source>Address %1: project %2, battery ID %3</source>
        <translation>地址 %1：项目号 %2，电池ID %3</translation>
    </message>
    <message>
        <source>Address %1: probable address clash (answers fail the CRC)</source>
        <translation>地址 %1：可能有地址冲突（应答CRC校验失败）</translation>
    </message>
    <message>
        <source>Address %1: probable address clash (two different battery IDs answer)</source>
        <translation>地址 %1：可能有地址冲突（两个不同的电池ID应答）</translation>
    </message>
    <message>
        <source>No pack answered at addresses %1 to %2.</source>
        <translation>地址 %1 至 %2 均无电池组应答。</translation>
    </message>
    <message>
        <source>Scanning address %1 of %2</source>
        <translation>正在扫描地址 %1 / %2</translation>
    </message>
    <message>
        <source>Scan complete in %1 s; packs: %2, probable address clashes: %3</source>
        <translation>扫描完成，用时 %1 秒；电池组：%2，可能的地址冲突：%3</translation>
    </message>
    <message>
        <source>Scan stopped at address %1; what was found so far is listed.</source>
        <translation>扫描已在地址 %1 停止；下面列出已找到的电池组。</translation>
    </message>
    <message>
        <source>Scan stopped: the request to address %1 could not be sent.</source>
        <translation>扫描已停止：无法向地址 %1 发送请求。</translation>
    </message>
    <message>
        <source>Last scan on %1 found addresses %2.</source>
        <translation>上次在 %1 扫描找到地址 %2。</translation>
    </message>
</context>
</TS>
