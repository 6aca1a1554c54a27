#pragma once

#include <QStringView>

// Which cell texts the workbook writers store as numbers. One rule for every
// format, so the same export gives the same cell types in .xls and .xlsx.
//
// A number is what a spreadsheet shows back as the same text: an optional
// minus, ASCII digits without leading zeros, optionally a point and digits
// not ending in zero, at most 15 digits in all (what a double holds exactly),
// surrounding white space ignored. Every value the program decodes is printed
// that way, so everything a technician sums or charts is a number. Anything
// else stays text so that nothing is altered: identifiers with leading zeros
// ("007"), versions ("1.10", "1.2.3"), serial numbers too long for a double,
// hexadecimal codes that look like exponents ("1E5"), "-0", "+3", ".5", "3.",
// decimal commas and non-ASCII digits.
namespace PlainNumber {

bool matches(QStringView text);

} // namespace PlainNumber
