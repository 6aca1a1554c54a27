#pragma once

#include <QString>

// The texts the program shows in Chinese whatever the language chosen: the
// messages of opening a port, two of the page messages, the upgrade's
// warnings and the language dialog's own captions. Technicians and the
// manuals know them in this wording, so they never go through a translation.
// Every one of them lives in the table behind chineseOnly(); a placeholder %1,
// %2 is filled with QString::arg.
enum class ChineseOnlyText {
    portInvalid,         // %1: the COM number
    portTimeoutsInvalid, // %1: the COM number, %2: the system's error code
    portSettingsInvalid, // %1: the settings block ("9600,N,8,1"), %2: the error code
    parameterEmpty,
    storedCountRead,
    upgradeNotice,
    bootUpgradeWarning,
    binFileOnly,
    languageDialogTitle,
    chineseChoice,
    languageConfirm,
};

QString chineseOnly(ChineseOnlyText text);
