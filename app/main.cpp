// tavro: the desktop program. Exit status 0, 1 when start-up ended after a
// message, 255 after a fatal error reading a data file (an input file that
// cannot be read only fails its run).

#include <QApplication>
#include <QDir>

#include "app/data_location.h"
#include "app/tavro_app.h"
#include "platform/posix_file_system.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tavro::SetApplicationNames();
    tavro::CTavroApp app;
    tavro::PosixFileSystem files;
    const tavro::DataFiles data =
        tavro::LocateDataFiles(files, QDir::currentPath(), tavro::InstalledDataDir());
    if (!app.InitInstance(QApplication::arguments().mid(1), data)) return app.ExitCode();
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
