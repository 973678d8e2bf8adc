// The Linux entry: one copy at a time, the data folder and its database, the application's title,
// the Qt windows, then the main window and its event loop.
#include "DataFolder.h"

#include "base/TApplication.h"
#include "tray/qt/QtTray.h"
#include "ui/f_WaitBox.h"
#include "ui/f_main.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtMainWindow.h"
#include "ui/qt/QtNetworkWatch.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const NoLock = "Error creando mutex";
const char* const AlreadyRunning =
    "Quelvano ya se encuentra en ejecucion.\rRecuerde que cuando usted minimiza Quelvano la "
    "aplicacion se oculta al costado del reloj.";

std::string EnvOr(const char* Name, const std::string& Fallback) {
    const char* V = std::getenv(Name);
    return V && *V ? V : Fallback;
}

enum class TInstanceLock { Taken, Held, Failed };

// The kernel drops the lock when the process dies, however it dies. Without a runtime folder it
// lives in the user's own data folder: in a shared one, another user's copy (or whoever made the
// file first) would hold it.
TInstanceLock TakeInstanceLock(const std::string& Data) {
    std::string Dir = EnvOr("XDG_RUNTIME_DIR", "");
    if (Dir.empty()) {
        if (!MakeFolder(Data))
            return TInstanceLock::Failed;
        Dir = Data;
    }
    const int Fd = open((Dir + "/quelvano.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Fd < 0)
        return TInstanceLock::Failed;
    if (flock(Fd, LOCK_EX | LOCK_NB) == 0)
        return TInstanceLock::Taken;
    return errno == EWOULDBLOCK ? TInstanceLock::Held : TInstanceLock::Failed;
}

// Steps up to the event loop; an error raised here ends the program.
void StartUp() {
    ProvisionDataFolder();
    Application().Title = "Quelvano v1.47";
    Application().OnProcessMessages = [] { QCoreApplication::processEvents(); };
    RegisterQtDialogs();
    RegisterQtMainWindow();
    TFrmMain::WatchFactory = StartQtNetworkWatch;
    FrmMain = new TFrmMain(&Application(), QtTrayServices());
    CreateWaitBox();
}

void ReportStartUpError(const std::string& Message) {
    std::fprintf(stderr, "Application Error: %s\n", Message.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("Application Error"),
                          QtText("Exception in module quelvano.\r\n\r\n" + Message));
}

} // namespace

int main(int argc, char** argv) {
    const std::string Data = DataFolder();
    const TInstanceLock Lock = TakeInstanceLock(Data);
    if (Lock != TInstanceLock::Taken) {
        std::fprintf(stderr, "%s\n", Lock == TInstanceLock::Held ? AlreadyRunning : NoLock);
        return 0;
    }
    QApplication Qt(argc, argv);
    // Qt's own texts (the buttons of message boxes) in the desktop's language, as the system's
    // message boxes are on Windows; without the translations installed they stay in English.
    QTranslator QtTexts;
    if (QtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&QtTexts);
    // Everything the program makes for itself hangs from here and goes before Qt does.
    TApplication App;
    try {
        StartUp();
    } catch (const std::exception& E) {
        delete FrmMain;
        ReportStartUpError(E.what());
        return 1;
    }
    const int ExitCode = RunMainWindow();
    delete FrmMain;
    return ExitCode;
}
