// The Select Files dialog: its sorted multi-selection list, Add Files through
// the (scripted) chooser, Remove Files and Delete, dropped files, and which
// ways out hand the list back.

#include "corpus/qt/select_files_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/tests/gui_test_support.h"

using namespace tavro;
using namespace tavro::testing;

namespace {

// A chooser that hands out the queued answers and notes where it started.
struct Chooser {
    std::deque<QStringList> answers;  // an empty list cancels
    QStringList startDirs;
    CInputFileDialog::Chooser Make() {
        return [this](const QString& startDir) -> std::optional<QStringList> {
            startDirs.append(startDir);
            if (answers.empty()) return std::nullopt;
            const QStringList answer = answers.front();
            answers.pop_front();
            if (answer.isEmpty()) return std::nullopt;
            return answer;
        };
    }
};

QListWidget* List(CSelectFilesDlg& dlg) {
    return dlg.findChild<QListWidget*>(QStringLiteral("IDC_FILE_LIST"));
}
QPushButton* Button(CSelectFilesDlg& dlg, const char* name) {
    return dlg.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Runs the dialog modally with `action` done to it once it is open.
int RunWith(CSelectFilesDlg& dlg, const std::function<void(CSelectFilesDlg&)>& action) {
    QTimer::singleShot(0, &dlg, [&dlg, action] { action(dlg); });
    return dlg.DoModal();
}

}  // namespace

class SelectFilesDlgTest : public QObject {
    Q_OBJECT

  private:
    QString m_startDir;
    QTemporaryDir m_settings;

  private slots:
    void initTestCase() { UseTemporarySettings(m_settings.path()); }
    void init() { m_startDir = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_startDir); }

    void captionAndButtons() {
        CSelectFilesDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Select Files"));
        QStringList texts;
        for (const char* name :
             {"IDC_ADD_FILES", "IDC_REMOVE_FILES", "IDC_SELECT_OK", "IDC_SELECT_CANCEL"}) {
            texts.append(Button(dlg, name)->text());
            QVERIFY(!Button(dlg, name)->isDefault());
        }
        QCOMPARE(texts, QStringList({"&Add Files...", "&Remove Files", "&OK", "&Cancel"}));
        QCOMPARE(List(dlg)->selectionMode(), QAbstractItemView::ExtendedSelection);
    }

    void theRealChooserPicksManyExistingFiles() {
        QFileDialog chooser;
        CInputFileDialog::Configure(chooser);
        QCOMPARE(chooser.fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(chooser.acceptMode(), QFileDialog::AcceptOpen);
        QVERIFY(!chooser.testOption(QFileDialog::DontUseNativeDialog));
    }

    void okHandsBackTheListSortedWithoutRegardToCase() {
        Chooser chooser;
        chooser.answers.push_back(QStringList{"/d/b.txt"});
        chooser.answers.push_back(QStringList{"/d/A.txt", "/d/c.txt", "/d/b.txt"});
        CSelectFilesDlg dlg(nullptr, chooser.Make());
        dlg.m_fileList = {"/d/Z.txt"};
        const int result = RunWith(dlg, [](CSelectFilesDlg& d) {
            d.OnAddFiles();
            d.OnAddFiles();
            d.OnSelectOk();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        // Duplicates stay: the same file added twice is handed back twice.
        QCOMPARE(dlg.m_fileList,
                 QStringList({"/d/A.txt", "/d/b.txt", "/d/b.txt", "/d/c.txt", "/d/Z.txt"}));
    }

    void cancelledChooserAddsNothing() {
        Chooser chooser;
        CSelectFilesDlg dlg(nullptr, chooser.Make());
        dlg.m_fileList = {"/x/one.txt"};
        RunWith(dlg, [](CSelectFilesDlg& d) {
            d.OnAddFiles();
            QCOMPARE(d.ListedFiles(), QStringList({"/x/one.txt"}));
            d.OnSelectOk();
        });
        QCOMPARE(dlg.m_fileList, QStringList({"/x/one.txt"}));
    }

    void chooserStartsInTheCurrentFolderAndMovesIt() {
        QTemporaryDir first;
        QTemporaryDir second;
        QDir::setCurrent(first.path());
        Chooser chooser;
        chooser.answers.push_back(QStringList{second.filePath(QStringLiteral("x.txt"))});
        chooser.answers.push_back(QStringList());
        CSelectFilesDlg dlg(nullptr, chooser.Make());
        RunWith(dlg, [](CSelectFilesDlg& d) {
            d.OnAddFiles();
            d.OnAddFiles();
            d.OnSelectCancel();
        });
        QCOMPARE(chooser.startDirs, QStringList({QDir(first.path()).canonicalPath(),
                                                 QDir(second.path()).canonicalPath()}));
    }

    void removeTakesExactlyTheSelectedItems() {
        CSelectFilesDlg dlg;
        dlg.m_fileList = {"/p/1", "/p/2", "/p/3", "/p/4", "/p/5"};
        RunWith(dlg, [](CSelectFilesDlg& d) {
            QListWidget* list = List(d);
            list->item(0)->setSelected(true);
            list->item(2)->setSelected(true);
            list->item(4)->setSelected(true);
            d.OnRemoveFiles();
            d.OnRemoveFiles();  // nothing selected any more: nothing removed
            d.OnSelectOk();
        });
        QCOMPARE(dlg.m_fileList, QStringList({"/p/2", "/p/4"}));
    }

    void deleteRemovesTheSelectedFiles() {
        CSelectFilesDlg dlg;
        dlg.m_fileList = {"/p/1", "/p/2", "/p/3"};
        RunWith(dlg, [](CSelectFilesDlg& d) {
            List(d)->item(1)->setSelected(true);
            List(d)->setFocus();
            QTest::keyClick(List(d), Qt::Key_Delete);
            d.OnSelectOk();
        });
        QCOMPARE(dlg.m_fileList, QStringList({"/p/1", "/p/3"}));
    }

    void droppedFilesAreAdded() {
        CSelectFilesDlg dlg;
        dlg.m_fileList = {"/q/b.txt"};
        RunWith(dlg, [](CSelectFilesDlg& d) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile("/q/c.txt"), QUrl::fromLocalFile("/q/A.txt"),
                          QUrl(QStringLiteral("https://example.org/x.txt"))});
            const QPoint at = List(d)->geometry().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&d, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&d, &drop);
            d.OnSelectOk();
        });
        QCOMPARE(dlg.m_fileList, QStringList({"/q/A.txt", "/q/b.txt", "/q/c.txt"}));
    }

    void waysOutThatCancel_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel button") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void waysOutThatCancel() {
        QFETCH(int, way);
        CSelectFilesDlg dlg;
        dlg.m_fileList = {"/k/kept.txt"};
        const int result = RunWith(dlg, [way](CSelectFilesDlg& d) {
            List(d)->selectAll();
            d.OnRemoveFiles();
            if (way == 0) Button(d, "IDC_SELECT_CANCEL")->click();
            if (way == 1) QTest::keyClick(List(d), Qt::Key_Escape);
            if (way == 2) d.close();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(dlg.m_fileList, QStringList({"/k/kept.txt"}));
    }

    // Enter used to end the dialog with OK but hand back the old list.
    void enterAnywhereHandsBackTheListBox_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("list box") << "IDC_FILE_LIST";
        QTest::newRow("Add Files") << "IDC_ADD_FILES";
        QTest::newRow("Remove Files") << "IDC_REMOVE_FILES";
        QTest::newRow("Cancel") << "IDC_SELECT_CANCEL";
    }
    void enterAnywhereHandsBackTheListBox() {
        QFETCH(QString, focus);
        CSelectFilesDlg dlg;
        dlg.m_fileList = {"/e/2.txt", "/e/1.txt"};
        const int result = RunWith(dlg, [focus](CSelectFilesDlg& d) {
            List(d)->item(0)->setSelected(true);
            d.OnRemoveFiles();
            QWidget* target = d.findChild<QWidget*>(focus);
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(dlg.m_fileList, QStringList({"/e/2.txt"}));
    }

    void encodingChoiceIsRememberedWhenOkHandsItBack() {
        QSettings().remove(QString::fromLatin1(CSelectFilesDlg::kEncodingKey));
        CSelectFilesDlg first;
        auto* combo = first.findChild<QComboBox*>(QStringLiteral("IDC_ENCODING"));
        QVERIFY(combo != nullptr);
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items.append(combo->itemText(i));
        QCOMPARE(items, QStringList({"Automatic", "UTF-8", "Windows-1253", "ISO-8859-7"}));
        int result = RunWith(first, [](CSelectFilesDlg& d) {
            auto* box = d.findChild<QComboBox*>(QStringLiteral("IDC_ENCODING"));
            QCOMPARE(box->currentText(), QStringLiteral("Automatic"));
            box->setCurrentIndex(box->findText(QStringLiteral("ISO-8859-7")));
            d.OnSelectOk();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(first.m_encoding == EncodingChoice::kIso8859_7);
        QCOMPARE(QSettings().value(QString::fromLatin1(CSelectFilesDlg::kEncodingKey)).toString(),
                 QStringLiteral("iso-8859-7"));

        // The next dialog starts with it; a choice that is cancelled is forgotten.
        CSelectFilesDlg second;
        result = RunWith(second, [](CSelectFilesDlg& d) {
            auto* box = d.findChild<QComboBox*>(QStringLiteral("IDC_ENCODING"));
            QCOMPARE(box->currentText(), QStringLiteral("ISO-8859-7"));
            box->setCurrentIndex(box->findText(QStringLiteral("UTF-8")));
            d.OnSelectCancel();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(CSelectFilesDlg::RememberedEncoding() == EncodingChoice::kIso8859_7);
    }

    void emptyListIsHandedBackEmpty() {
        CSelectFilesDlg dlg;
        const int result = RunWith(dlg, [](CSelectFilesDlg& d) { d.OnSelectOk(); });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(dlg.m_fileList.isEmpty());
    }
};

QTEST_MAIN(SelectFilesDlgTest)
#include "select_files_dlg_test.moc"
