// The recent-file list of 4 entries, kept in the program's settings under
// "Recent File List" as File1..File4, most recent first. The menus have no
// place for it: it is loaded at start, grows as documents are opened or saved
// under a name, and is written back when the program ends.
#pragma once

#include <QSettings>
#include <QStringList>

namespace tavro {

class RecentFileList {
  public:
    static constexpr int kSize = 4;

    void Load(QSettings& settings);
    void Save(QSettings& settings) const;
    // Puts `path` first; an equal entry further down goes, the fifth falls off.
    void Add(const QString& path);
    const QStringList& Entries() const { return m_entries; }

  private:
    QStringList m_entries;
};

}  // namespace tavro
