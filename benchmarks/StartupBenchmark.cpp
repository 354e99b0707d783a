// Start-up cost of the editor's window beside two floors started the same
// way: an empty Qt window, which draws no text and so never loads a font, and
// a window of the same size with one line of Chinese text in the window's
// font, which pays the font set-up that any Chinese window pays. Prints the
// wall-clock times at which main() began and the window was on screen and
// painted, the CPU time and peak resident memory until then;
// scripts/benchmark.sh supplies the launch time and repeats the runs.

#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/WindowLayout.h"
#include "ui/WindowStyle.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>

namespace {

long long nanoseconds(const timeval& time) { return time.tv_sec * 1'000'000'000LL + time.tv_usec * 1'000LL; }

long long wallClockNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char* argv[]) {
    const long long started = wallClockNanoseconds();
    const std::string_view kind = argc == 2 ? argv[1] : "";
    if (kind != "empty" && kind != "text" && kind != "editor") {
        std::fputs("usage: startup_benchmark empty|text|editor\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    const auto application = varnel::createApplication(qtArgc, argv);
    if (!application) return 1;

    std::unique_ptr<QWidget> window;
    if (kind == "editor") {
        varnel::prepareApplication(*application);
        window = std::make_unique<varnel::MainWindow>();
    } else if (kind == "text") {
        varnel::prepareApplication(*application);
        window = std::make_unique<QWidget>();
        window->setFont(varnel::style::windowFont());
        window->setFixedSize(varnel::layout::clientSize);
        auto* label = new QLabel(QStringLiteral("保存会直接改写文件，修改前请自行备份。"), window.get());
        label->move(24, 16);
    } else {
        window = std::make_unique<QWidget>();
        window->resize(varnel::layout::clientSize);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return 1;
    QCoreApplication::processEvents();  // the first paint

    const long long shown = wallClockNanoseconds();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("main_ns %lld shown_ns %lld cpu_ns %lld peak_kib %ld\n", started, shown,
                nanoseconds(usage.ru_utime) + nanoseconds(usage.ru_stime), usage.ru_maxrss);
    return 0;
}
