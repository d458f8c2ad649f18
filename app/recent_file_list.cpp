#include "app/recent_file_list.h"

namespace tavro {
namespace {

QString EntryKey(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

void RecentFileList::Load(QSettings& settings) {
    m_entries.clear();
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 0; i < kSize; ++i) {
        const QString path = settings.value(EntryKey(i)).toString();
        if (!path.isEmpty()) m_entries.append(path);
    }
    settings.endGroup();
}

void RecentFileList::Save(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 0; i < kSize; ++i) {
        if (i < m_entries.size()) {
            settings.setValue(EntryKey(i), m_entries[i]);
        } else {
            settings.remove(EntryKey(i));
        }
    }
    settings.endGroup();
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("PreviewPages"), 0);
    settings.endGroup();
}

void RecentFileList::Add(const QString& path) {
    m_entries.removeAll(path);
    m_entries.prepend(path);
    while (m_entries.size() > kSize) m_entries.removeLast();
}

}  // namespace tavro
