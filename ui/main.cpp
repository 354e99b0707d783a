// Starts the editor: one window, no command line, no settings.

#include "ui/Application.h"
#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    const auto application = varnel::createApplication(argc, argv);
    if (!application) return 1;
    varnel::prepareApplication(*application);
    varnel::MainWindow window;
    window.show();
    return QApplication::exec();
}
