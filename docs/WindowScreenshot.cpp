// Opens a synthetic image in the real window, picks a few rows and saves a
// picture of the window for the README. Run by scripts/screenshot.sh.

#include "tests/support/SyntheticImage.h"
#include "tests/ui/ModalAnswer.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: window_screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    const auto application = varnel::createApplication(argc, argv);
    if (!application) return 1;
    varnel::prepareApplication(*application);

    varnel::testing::TempFolder folder;
    const auto image = folder.path() / "demo.nes";
    varnel::testing::writeFile(image, varnel::testing::makeImage());
    varnel::MainWindow window;
    window.show();

    const QString output = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(200, [&] {
        varnel::testing::answerNextModal([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(image.string()));
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, through the public base
        });
        window.findChild<QPushButton*>("openf")->click();
        window.findChild<QListWidget*>("lw")->setCurrentRow(54);
        window.findChild<QListWidget*>("la")->setCurrentRow(7);
        window.findChild<QComboBox*>("cm")->setCurrentIndex(6);
        window.findChild<QListWidget*>("lw")->setFocus();
        QTimer::singleShot(300, [&] {
            window.grab().save(output);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
