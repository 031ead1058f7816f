#include "app/Program.h"

#include "app/MainScreen.h"
#include "app/MessageBoxes.h"
#include "app/Messages.h"
#include "app/Printers.h"
#include "app/SingleInstance.h"
#include "app/Version.h"
#include "store/Opasswrd.h"
#include "store/PasswordChange.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The show state the program was started with.  Linux passes none to a
// process, so the X toolkits' "-iconic" (and "--minimized") ask for it.
bool startedMinimized(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-iconic" || arg == "--minimized" || arg == "--minimised")
            return true;
    }
    return false;
}
// A request to end the program from outside (SIGTERM, SIGHUP at logout)
// closes the main window the ordinary way, so the shown entry is saved.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void closeOnSignals(TMainScreen *mainScreen)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, mainScreen);
    QObject::connect(notifier, &QSocketNotifier::activated, mainScreen, [mainScreen] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        mainScreen->close();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
} // namespace

int RunProgram(int argc, char *argv[])
{
    const bool minimized = startedMinimized(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillary"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));
    InstallMessageBoxes();

    CheckPrinters();

    if (AlreadyRunning()) {
        ShowInformation(QStringLiteral("Quillary! is already running"));
        return 0;
    }
    QCoreApplication::processEvents();

    // A password change that a crash interrupted is completed or undone
    // first, while this copy alone holds the diary: the prompt below reads
    // the password from QY.INI and the main window reads entries.
    QString recoveryError;
    if (!RecoverPasswordChange(&recoveryError)) {
        ShowError(QStringLiteral("Quillary! cannot open the diary: %1").arg(recoveryError));
        return 0;
    }

    if (!AskOpeningPassword())
        return 0;

    TMainScreen mainScreen;
    mainScreen.StartMinimized = minimized;
    if (!mainScreen.FormCreate())
        return 0;
    closeOnSignals(&mainScreen);
    // The desktop session ending: the shown entry goes to disk first.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainScreen,
                     [&mainScreen](QSessionManager &) { mainScreen.SaveButtonClick(); });
    if (minimized)
        mainScreen.showMinimized();
    else
        mainScreen.show();
    return app.exec();
}
