#pragma once

#include <QString>

// The program's version, from the one number the build declares; --version of
// both programs, the package and the metainfo release all show it.
namespace Version {
QString text();      // "1.6.0"
QString shortText(); // "1.6", the part the window title shows
} // namespace Version
