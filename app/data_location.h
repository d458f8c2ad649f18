// Where the program reads "finalList.txt" and "conjugation.txt".
//
// The current directory comes first: when it holds either file, both are read
// from there (a missing one is then reported by its plain name). Only when it
// holds neither does the program fall back to its installed data folder, if
// that holds either; otherwise the plain names stand and the missing lexicon is
// reported as usual.
#pragma once

#include <QString>

#include "document/tavro_doc.h"
#include "platform/file_system.h"

namespace tavro {

// `files` tells which of the data files exist.
DataFiles LocateDataFiles(FileSystem& files, const QString& currentDir,
                          const QString& installedDir);

// The data folder of the installed program, found from the executable's own
// folder (share/tavro beside bin/).
QString InstalledDataDir();

}  // namespace tavro
