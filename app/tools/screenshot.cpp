// Takes the screenshots of the main window for the documentation: the program
// after a run over the bundled sample corpus (data/corpus/*.txt), files chosen
// through Open Input Files as a user would, and with ANALYSIS.png also the
// analysis window with a noun selected. Run it on a real display or under
// Xvfb:  xvfb-run -a tavro_screenshot SOURCE_DIR OUT.png [ANALYSIS.png]

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/analysis_view.h"
#include "app/command_ids.h"
#include "app/framework_ids.h"
#include "app/main_frame.h"
#include "app/tavro_app.h"
#include "corpus/qt/select_files_dlg.h"

using namespace tavro;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: tavro_screenshot SOURCE_DIR OUT.png [ANALYSIS.png]\n");
        return 2;
    }
    const QDir source(args[1]);
    QStringList corpus;
    for (const QString& name : QDir(source.filePath(QStringLiteral("data/corpus")))
                                   .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        corpus.append(source.filePath(QStringLiteral("data/corpus/") + name));
    }

    ShellHooks hooks = DefaultShellHooks();
    hooks.chooseInputFiles = [corpus](const QString&) {
        return std::optional<QStringList>(corpus);
    };
    SetApplicationNames();
    CTavroApp app(hooks);
    const DataFiles data{source.filePath(QStringLiteral("data/finalList.txt")).toStdString(),
                         source.filePath(QStringLiteral("data/conjugation.txt")).toStdString()};
    if (!app.InitInstance({}, data)) return 1;
    CMainFrame* frame = app.MainFrame();
    frame->resize(760, 560);

    QTimer::singleShot(300, frame, [frame] {
        QTimer::singleShot(0, frame, [] {
            if (auto* dlg = qobject_cast<CSelectFilesDlg*>(QApplication::activeModalWidget())) {
                dlg->OnAddFiles();
                dlg->OnSelectOk();
            }
        });
        frame->RouteCommand(ID_FILE_OPEN_INPUT_FILES);
        frame->RouteCommand(ID_VIEW_SORT_BY_FREQUENCY);
        QTimer::singleShot(500, frame, [frame] {
            const QStringList args = QApplication::arguments();
            if (!frame->grab().save(args[2])) QApplication::exit(1);
            if (args.size() < 4) {
                QApplication::exit(0);
                return;
            }
            frame->resize(1100, 720);
            frame->RouteCommand(ID_VIEW_ANALYSIS);
            QTimer::singleShot(500, frame, [frame] {
                // The most frequent noun that a form shares with another noun,
                // so that the picture shows what "Also credits" means.
                CAnalysisView* view = frame->AnalysisView();
                QTableView* table = view->Table();
                const RunAnalysis* analysis = view->Model()->Analysis();
                int chosen = 0;
                for (int row = 0; analysis != nullptr && row < view->Model()->rowCount(); ++row) {
                    const NounRow& noun = analysis->Nouns()[view->Model()->Rows()[row]];
                    const bool shared = std::any_of(
                        noun.forms.begin(), noun.forms.end(), [&](const FormCount& form) {
                            const long long word = view->Model()->FindWord(form.word);
                            return word >= 0 && analysis->Words()[word].nouns.size() > 1;
                        });
                    if (shared) {
                        chosen = row;
                        break;
                    }
                }
                table->selectRow(chosen);
                table->setFocus();
                QTimer::singleShot(300, frame, [frame] {
                    QApplication::exit(frame->grab().save(QApplication::arguments()[3]) ? 0 : 1);
                });
            });
        });
    });
    return QApplication::exec();
}
