#include "ui/Application.h"

#include "ui/WindowStyle.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace varnel {

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    }
    return false;
}

void prepareApplication(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("varnel-rom-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("VarnelROM修改器"));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnel-rom-editor"));
    QApplication::setWindowIcon(style::windowIcon());

    // Qt's dialogs speak Chinese where its translations are installed.
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace varnel
