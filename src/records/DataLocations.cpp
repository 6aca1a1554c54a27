#include "records/DataLocations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
std::optional<DataLocations::Places> g_places;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Where the data folder lies as seen from the program's folder in an
// installation; the build passes the real relation of its install folders.
QString dataFromProgram()
{
#ifdef CELLVANE_DATA_FROM_BIN
    return QStringLiteral(CELLVANE_DATA_FROM_BIN);
#else
    return QStringLiteral("../share/cellvane");
#endif
}
} // namespace

namespace DataLocations {

Places Places::portableIn(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    return Places{true, clean, clean, {clean}};
}

QStringList templateNames()
{
    return {QStringLiteral("Storage Data Template.xls"),
            QStringLiteral("Real time data template.xlsx")};
}

QString installedFolderName()
{
    return QStringLiteral("Cellvane");
}

Places decide(const Inputs &inputs)
{
    const QDir program(inputs.programFolder);
    bool portable = !inputs.programFolder.isEmpty() && QFileInfo(inputs.programFolder).isDir() &&
                    QFileInfo(inputs.programFolder).isWritable();
    for (const QString &name : templateNames())
        portable = portable && QFileInfo(program.filePath(name)).isFile();
    if (portable)
        return Places::portableIn(inputs.programFolder);

    Places places;
    places.portable = false;
    places.programFolder = QDir::cleanPath(inputs.programFolder);
    if (!inputs.documentsFolder.isEmpty())
        places.outputRoot =
            QDir::cleanPath(inputs.documentsFolder + QLatin1Char('/') + installedFolderName());
    for (const QString &folder : inputs.dataFolders) {
        const QString clean = QDir::cleanPath(folder);
        if (!clean.isEmpty() && !places.templateFolders.contains(clean))
            places.templateFolders << clean;
    }
    // A read-only copy that carries its templates (a CD, a network share)
    // still finds them beside itself, after the installed ones.
    if (!inputs.programFolder.isEmpty() && !places.templateFolders.contains(places.programFolder))
        places.templateFolders << places.programFolder;
    return places;
}

QStringList dataFoldersFor(const QString &programFolder)
{
    QStringList folders{QDir::cleanPath(programFolder + QLatin1Char('/') + dataFromProgram())};
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir::cleanPath(data + QStringLiteral("/cellvane"));
    folders.removeDuplicates();
    return folders;
}

Inputs systemInputs()
{
    const QString program = QCoreApplication::applicationDirPath();
    return Inputs{program, dataFoldersFor(program),
                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)};
}

Places current()
{
    // Decided once: a run never changes where its files go half-way.
    if (!g_places)
        g_places = decide(systemInputs());
    return *g_places;
}

void setPlaces(std::optional<Places> places)
{
    g_places = std::move(places);
}

QString outputFolder(const QString &top)
{
    const QString root = current().outputRoot;
    return root.isEmpty() ? QString() : QDir::cleanPath(root + QLatin1Char('/') + top);
}

Result<QString> findTemplate(const QString &name)
{
    const Places places = current();
    for (const QString &folder : places.templateFolders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    if (places.portable)
        return Error{QCoreApplication::translate(
                         "DataLocations",
                         "The template \"%1\" is missing. Put it beside the program and export "
                         "again.")
                         .arg(native(QDir(places.programFolder).filePath(name)))};
    QStringList searched;
    for (const QString &folder : places.templateFolders)
        searched << native(folder);
    return Error{QCoreApplication::translate(
                     "DataLocations",
                     "The template \"%1\" is missing. It was looked for in these folders:\n%2\n"
                     "Reinstall the program and export again.")
                     .arg(name, searched.join(QLatin1Char('\n')))};
}

} // namespace DataLocations
