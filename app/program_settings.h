// What the desktop program keeps between starts, besides the recent-file list
// (recent_file_list.h) and the main window's geometry (CMainFrame): the two
// View choices and the two Tools choices (restoring the accents of capitals,
// deriving nouns). All of it lives in QSettings under the program's own names
// ("Tavro", "Tavro"), read at start and written when the program ends.
//
// Earlier versions kept their settings under the organisation "Local
// AppWizard-Generated Applications". The first start under the new names moves
// the recent-file list over and removes the old keys, so that it happens once.
#pragma once

#include <QSettings>

namespace tavro {

struct RememberedChoices {
    bool sortByFrequency = false;
    bool showAllWords = false;
    bool capitalsAccents = false;
    bool derivedNouns = false;
};

RememberedChoices ReadChoices(const QSettings& settings);
void WriteChoices(QSettings& settings, const RememberedChoices& choices);

// Moves the recent-file list from the old organisation's settings into
// `settings` (unless `settings` has one already) and removes it there.
void MoveOldSettings(QSettings& settings);

// The organisation name of earlier versions.
inline const char kOldOrganisation[] = "Local AppWizard-Generated Applications";

}  // namespace tavro
