#pragma once
// Answers the next modal dialog from a timer, as a user would, while the code
// under test waits in the dialog's exec().

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace varnel::testing {

inline void answerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
        // Found among the top-level widgets: offscreen, a dialog is not always the active modal widget.
        for (QWidget* dialog : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(dialog) == nullptr || !dialog->isVisible() || !dialog->isModal()) continue;
            timer->stop();
            answer(dialog);
            timer->deleteLater();
            return;
        }
    });
    timer->start(10);
}

}  // namespace varnel::testing
