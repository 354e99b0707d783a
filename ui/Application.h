#pragma once

#include <memory>

class QApplication;

namespace varnel {

// Creates the application, or says in one line on standard error why no
// window can be shown (no display named, or none reachable) and returns null,
// where Qt itself would abort.
std::unique_ptr<QApplication> createApplication(int& argc, char* argv[]);

// Chinese texts for Qt's own dialogs and buttons, and the program's name and icon.
void prepareApplication(QApplication& application);

}  // namespace varnel
