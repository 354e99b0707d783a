#pragma once
// Answers the next modal dialog from a timer, as a user would, while the code
// under test sits in the dialog's exec().

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace varnel::testing {

// The visible modal dialog, if any. Looked up among the top-level widgets, as
// the offscreen platform does not always make a dialog the active modal widget.
inline QWidget* visibleModalDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(widget) != nullptr && widget->isVisible() && widget->isModal()) return widget;
    }
    return nullptr;
}

// Polls until a modal dialog shows, then hands it to `answer` once.
inline void answerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    auto pending = std::make_shared<std::function<void(QWidget*)>>(std::move(answer));
    QObject::connect(timer, &QTimer::timeout, [timer, pending] {
        QWidget* modal = visibleModalDialog();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        (*pending)(modal);
    });
    timer->start(10);
}

}  // namespace varnel::testing
