#pragma once

#include "link/PortIo.h"

#include <QString>

// Reads a serial mode string the way the Windows mode-string parser does:
// the classic "baud,parity,data,stop[,x|p]" form with blanks allowed around
// every field ("9600,N,8 ,1"), an optional "COMn:" prefix, two-digit baud
// abbreviations ("96" is 9600), and the keyword form
// ("baud=9600 parity=n data=8 stop=1"). Fields left out take the classic
// defaults: even parity, 7 data bits, 1 stop bit (2 at 110 baud).
//
// A string that does not parse, or that asks for what the serial driver
// cannot do (data bits other than 5 to 8, one and a half stop bits where the
// driver has none), gives a block with `valid` false.
namespace ModeString {
PortIo::Settings parse(const QString &mode);
// The classic form of a settings block, as the link page builds it.
QString compose(const QString &baud, const QString &parity, const QString &dataBits);
} // namespace ModeString
