#include "app/program_settings.h"

#include <QCoreApplication>

namespace tavro {
namespace {

const QString kSortByFrequency = QStringLiteral("View/SortByFrequency");
const QString kShowAllWords = QStringLiteral("View/ShowAllWords");
const QString kCapitalsAccents = QStringLiteral("Tools/RestoreAccentsOfCapitals");
const QString kDerivedNouns = QStringLiteral("Tools/DeriveNouns");
// What earlier versions wrote: the recent-file list and the framework's page count.
const QString kOldGroups[] = {QStringLiteral("Recent File List"), QStringLiteral("Settings")};

}  // namespace

RememberedChoices ReadChoices(const QSettings& settings) {
    return {settings.value(kSortByFrequency, false).toBool(),
            settings.value(kShowAllWords, false).toBool(),
            settings.value(kCapitalsAccents, false).toBool(),
            settings.value(kDerivedNouns, false).toBool()};
}

void WriteChoices(QSettings& settings, const RememberedChoices& choices) {
    settings.setValue(kSortByFrequency, choices.sortByFrequency);
    settings.setValue(kShowAllWords, choices.showAllWords);
    settings.setValue(kCapitalsAccents, choices.capitalsAccents);
    settings.setValue(kDerivedNouns, choices.derivedNouns);
}

void MoveOldSettings(QSettings& settings) {
    QSettings old(settings.format(), QSettings::UserScope, QString::fromLatin1(kOldOrganisation),
                  QCoreApplication::applicationName());
    if (!old.childGroups().contains(kOldGroups[0])) return;
    const bool hasOwnList = settings.childGroups().contains(kOldGroups[0]);
    for (const QString& group : kOldGroups) {
        old.beginGroup(group);
        const QStringList keys = old.childKeys();
        for (const QString& key : keys) {
            const QString name = group + QLatin1Char('/') + key;
            if (!hasOwnList && !settings.contains(name)) settings.setValue(name, old.value(key));
        }
        old.endGroup();
        old.remove(group);
    }
}

}  // namespace tavro
