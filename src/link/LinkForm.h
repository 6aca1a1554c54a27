#pragma once

#include <QString>
#include <QStringList>

class Form;

// Controls of the "serial setting" page that the link reads and writes.
namespace LinkField {
inline const QString port = QStringLiteral("COM");             // "COM" + number entries
inline const QString baud = QStringLiteral("波特率");          // 7 rates
inline const QString parity = QStringLiteral("校验位");        // None / Even / Odd
inline const QString dataBits = QStringLiteral("数据位");      // "8 ", "9 "
inline const QString address = QStringLiteral("通迅地址");     // "0xff", "0".."16"
inline const QString protocol = QStringLiteral("通讯协议");    // "V1.0"
inline const QString openClose = QStringLiteral("打开串口");   // the open/close button
inline const QString refresh = QStringLiteral("刷新");
// Check box: open the port again by itself when a lost device comes back.
inline const QString reconnect = QStringLiteral("自动重连");

// The baud rates of every baud list, in list order.
inline const QStringList baudRates = {QStringLiteral("9600"),  QStringLiteral("14400"),
                                      QStringLiteral("19200"), QStringLiteral("38400"),
                                      QStringLiteral("56000"), QStringLiteral("115200"),
                                      QStringLiteral("1200")};
// English source texts of the parity entries; views translate them.
inline const QStringList parityNames = {QStringLiteral("None"), QStringLiteral("Even"),
                                        QStringLiteral("Odd")};
} // namespace LinkField

void defineLinkForm(Form &form);
