// Starts the editor: one window, no command line, no settings.

#include "ui/Application.h"
#include "ui/MainWindow.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (!varnel::displayAvailable()) {
        std::fputs("varnel-rom-editor: 没有可用的图形显示（未设置 DISPLAY 或 WAYLAND_DISPLAY），无法打开窗口。\n", stderr);
        return 1;
    }
    QApplication application(argc, argv);
    varnel::prepareApplication(application);
    varnel::MainWindow window;
    window.show();
    return QApplication::exec();
}
