#include "gui/run_main_window.h"

#include <QApplication>

#include "cli/command_line.h"
#include "gui/main_window.h"
#include "gui/user_dialogs.h"
#include "tiff/tiff_messages.h"

namespace quillon {

int runMainWindow(ProgramContext& context) {
    // The window reports every file in its results list; libtiff's notes
    // stay out of the console.
    routeTiffMessages(TiffMessageTarget::discard);
    QApplication application(context.argc, context.argv);
    QGuiApplication::setDesktopFileName(QUILLON_APP_ID);
    QApplication::setStyle("Fusion");  // it draws the program's colours on every desktop
    // Hiding to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    QtUserDialogs dialogs;
    if (context.saveFolderMissing) dialogs.message(nullptr, kSaveFolderMessage, kSaveFolderCaption);
    MainWindow window(context, dialogs);
    // An event loop ended from outside (the desktop session closing) still
    // stops a run and writes the settings, as the close box would.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     [&window] { window.exitWith(kExitByCancel); });
    window.startAutomaticConversion();
    window.show();
    const int code = QApplication::exec();
    return window.exitCode() == -1 ? code : window.exitCode();
}

}  // namespace quillon
