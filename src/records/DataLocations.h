#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

// Where the program reads its spreadsheet templates and writes its recordings
// and exports. A copy of the program in a folder of its own that holds both
// templates and may be written (a build folder, an unpacked copy, the tests)
// keeps everything beside itself. Anything else is an installation: its folder
// belongs to the system (a package's /usr/bin, Program Files), so the
// templates come from the installed data folder and the outputs go into the
// user's documents. An installed program never writes into its own prefix,
// whoever runs it; the writable check alone cannot tell, since root may write
// everywhere, which is why the templates beside the program decide too.
namespace DataLocations {

// What the decision looks at; the running program's are systemInputs().
struct Inputs {
    QString programFolder;
    QStringList dataFolders; // where an installation keeps its templates, in search order
    QString documentsFolder; // the user's documents ("" when none is known)
};

struct Places {
    bool portable = true;
    QString programFolder;
    QString outputRoot;          // holds "real-time data" and "Store data"; "" when unknown
    QStringList templateFolders; // searched in this order

    // Everything beside the program in `folder`.
    static Places portableIn(const QString &folder);
};

// "Storage Data Template.xls" and "Real time data template.xlsx".
QStringList templateNames();
// The per-user folder an installed program writes into, below the documents.
QString installedFolderName(); // "Cellvane"

Places decide(const Inputs &inputs);

// The running program: its own folder, `<prefix>/share/cellvane` found from
// the program's folder and then the system's data folders, and the documents
// folder of the user.
Inputs systemInputs();
QStringList dataFoldersFor(const QString &programFolder);

// The places of this run, decided once from systemInputs(); tests set their own.
Places current();
void setPlaces(std::optional<Places> places); // {} decides anew from the system

// current().outputRoot + "/" + top, or "" when there is no output root.
QString outputFolder(const QString &top);

// The first template folder holding `name`. When none does, the failure's
// message for the user names every folder searched.
Result<QString> findTemplate(const QString &name);

} // namespace DataLocations
