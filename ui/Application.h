#pragma once

class QApplication;

namespace varnel {

// Whether a window system is named to connect to. Without one Qt would abort,
// so the program says so and ends instead.
bool displayAvailable();

// Chinese texts for Qt's own dialogs and buttons, and the program's name and icon.
void prepareApplication(QApplication& application);

}  // namespace varnel
