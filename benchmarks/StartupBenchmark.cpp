// Start-up cost of the editor's window beside a bare Qt window started the
// same way. Prints the wall-clock time at which the window was on screen
// and painted, and the peak resident memory; scripts/benchmark.sh supplies
// the launch time and repeats the runs.

#include "ui/Application.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char* argv[]) {
    const bool editor = argc == 2 && std::strcmp(argv[1], "editor") == 0;
    const bool bare = argc == 2 && std::strcmp(argv[1], "bare") == 0;
    if (!editor && !bare) {
        std::fputs("usage: startup_benchmark editor|bare\n", stderr);
        return 2;
    }
    int qtArgc = 1;
    const auto application = varnel::createApplication(qtArgc, argv);
    if (!application) return 1;

    std::unique_ptr<QWidget> window;
    if (editor) {
        varnel::prepareApplication(*application);
        window = std::make_unique<varnel::MainWindow>();
    } else {
        window = std::make_unique<QWidget>();
        window->resize(821, 405);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return 1;
    QCoreApplication::processEvents();  // the first paint

    const auto shown = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("shown_ns %lld peak_kib %ld\n", static_cast<long long>(shown.count()), usage.ru_maxrss);
    return 0;
}
