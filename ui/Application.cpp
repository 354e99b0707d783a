#include "ui/Application.h"

#include "ui/WindowStyle.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace varnel {
namespace {

constexpr const char* noDisplay = "varnel-rom-editor: 没有可用的图形显示，无法打开窗口。";

bool displayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    }
    return false;
}

// While the application starts, Qt's platform chatter is replaced by one line
// of ours, and its fatal failure (which would abort) by a plain exit.
void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s（%s）\n", noDisplay, qPrintable(message.section('\n', 0, 0)));
        std::_Exit(EXIT_FAILURE);
    }
    if (QByteArray(context.category).startsWith("qt.qpa")) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

std::unique_ptr<QApplication> createApplication(int& argc, char* argv[]) {
    if (!displayNamed()) {
        std::fprintf(stderr, "%s（没有设置 DISPLAY 或 WAYLAND_DISPLAY）\n", noDisplay);
        return nullptr;
    }
    const QtMessageHandler previous = qInstallMessageHandler(startupMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return application;
}

void prepareApplication(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("varnel-rom-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("VarnelROM修改器"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNEL_APPLICATION_ID));
    QApplication::setWindowIcon(style::windowIcon());

    // Qt's dialogs speak Chinese where its translations are installed.
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

}  // namespace varnel
