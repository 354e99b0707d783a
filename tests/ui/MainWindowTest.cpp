// The real window under the offscreen platform: what only real widgets show
// (names, geometry, box limits, focus order, dialogs) and one edit made
// through them, from opening the image to closing the window.

#include "tests/support/SyntheticImage.h"
#include "tests/ui/ModalAnswer.h"
#include "ui/MainWindow.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel {
namespace {

using testing::answerNextModal;

// The eight boxes of each group named by its letter: "wa" is wt1 … wt8, at1 … at8.
QStringList boxNames(const char* groups) {
    QStringList names;
    for (const char* group = groups; *group != '\0'; ++group) {
        for (int field = 1; field <= 8; ++field) names << QStringLiteral("%1t%2").arg(*group).arg(field);
    }
    return names;
}

bool isOpenByThisProcess(const std::filesystem::path& file) {
    for (const auto& descriptor : std::filesystem::directory_iterator("/proc/self/fd")) {
        if (std::filesystem::read_symlink(descriptor.path()) == std::filesystem::canonical(file)) return true;
    }
    return false;
}

class MainWindowTest : public ::testing::Test, protected testing::ImageFile {
protected:
    MainWindowTest() : ImageFile("游戏 镜像.nes") {}

    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename Widget = QWidget>
    Widget* find(const char* name) const { return window.findChild<Widget*>(name); }
    QLineEdit* box(const QString& name) const { return window.findChild<QLineEdit*>(name); }

    // Presses a button and answers the dialog it shows.
    void press(const char* button, std::function<void(QWidget*)> answer) {
        answerNextModal(std::move(answer));
        QTest::mouseClick(find(button), Qt::LeftButton);
        window.activateWindow();  // offscreen, activation does not come back by itself
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Types the image's path into the file dialog's name box and accepts, as a user would.
    void openThroughDialog() {
        press("openf", [this](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(image.string()));
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    // The controls that Tab visits from wt1 until it comes back there.
    QStringList tabChain() {
        QStringList chain;
        box("wt1")->setFocus();
        do {
            chain << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != box("wt1") && chain.size() < 100);
        return chain;
    }

    MainWindow window;
};

TEST_F(MainWindowTest, StartsAtItsFixedSizeShowingRowZeroSelectedInTheDisabledListsWithBoxesOfThreeCharacters) {
    EXPECT_EQ(window.objectName(), "Main");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("VarnelROM修改器"));
    EXPECT_EQ(window.size(), QSize(821, 405));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    // Each list was disabled when its row 0 was selected: the zeros show that the selection still came through.
    for (const QString& name : boxNames("wam")) EXPECT_EQ(box(name)->text(), "0") << name.toStdString();
    EXPECT_EQ(QApplication::focusWidget(), box("wt1"));
    QTest::keyClicks(box("it1"), "1234");  // a field box takes three characters
    EXPECT_EQ(box("it1")->text(), "123");
}

TEST_F(MainWindowTest, ItsIconComesAtEveryDesktopSizeAndStaysPixelSharpWhereSmall) {
    const QList<QSize> sizes{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    QList<QSize> available = window.windowIcon().availableSizes();
    std::sort(available.begin(), available.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(available, sizes);
    for (const QSize size : sizes) {
        const QImage image = window.windowIcon().pixmap(size).toImage();
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 255) << size.width();
        // Up to 32 px drawn pixel by pixel: no edge blurred into half-transparent pixels.
        for (int at = 0; size.width() <= 32 && at < size.width() * size.height(); ++at) {
            const int alpha = qAlpha(image.pixel(at % size.width(), at / size.width()));
            EXPECT_TRUE(alpha == 0 || alpha == 255) << size.width() << " px at " << at;
        }
    }
}

TEST_F(MainWindowTest, TabVisitsTheEnabledControlsInOrderBeforeAndAfterAnOpen) {
    EXPECT_EQ(tabChain(), boxNames("waim") << "openf");
    openThroughDialog();
    EXPECT_EQ(tabChain(), boxNames("w") << "lw" << "la" << boxNames("ai") << "cm" << boxNames("m") << "save");
}

TEST_F(MainWindowTest, EveryCaptionFitsItsLabelAndTheTargetRangeLabelGivesItsBoxAnAccessKey) {
    for (const QLabel* label : window.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                               Qt::TextWordWrap | Qt::TextShowMnemonic, label->text());
        EXPECT_TRUE(label->rect().contains(needed)) << label->objectName().toStdString();
    }
    EXPECT_EQ(find<QLabel>("ml6")->buddy(), box("mt6"));  // with a buddy Qt hides the "&" and underlines what follows
    EXPECT_EQ(box("mt6")->accessibleName(), QStringLiteral("攻击对象范围"));
}

TEST_F(MainWindowTest, ControlsStayInsideTheWindowWithoutOverlapAndTheLinesSpanIt) {
    std::vector<const QWidget*> placed;
    for (const QWidget* control : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect area = control->geometry();
        if (control->objectName().startsWith("Line")) {
            EXPECT_TRUE(area.left() <= 0 && area.right() >= window.width() - 1);
            continue;
        }
        EXPECT_TRUE(window.rect().contains(area)) << control->objectName().toStdString();
        for (const QWidget* other : placed) {
            // A two-line label reaches one blank pixel row into the row below it; nothing else may share a pixel.
            const int allowed = qobject_cast<const QLabel*>(control) || qobject_cast<const QLabel*>(other) ? 1 : 0;
            EXPECT_LE(area.intersected(other->geometry()).height(), allowed) << control->objectName().toStdString()
                                                                             << " and " << other->objectName().toStdString();
        }
        placed.push_back(control);
    }
}

TEST_F(MainWindowTest, TheDialogsAreQtsOwnInChineseAndTheFileDialogTakesOnlyAnExistingImage) {
    press("openf", [](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));  // which matches *.Nes in any letter case
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Nes Files(*.Nes)"});
        EXPECT_EQ(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        dialog->reject();
    });
    EXPECT_TRUE(find("openf")->isEnabled());  // cancelled: still ready
    answerNextModal([](QWidget* modal) {
        auto* error = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->icon(), QMessageBox::Critical);
        EXPECT_EQ(error->windowTitle() + error->text() + error->button(QMessageBox::Ok)->text(), "Varnel修改器出错了确定");
        error->button(QMessageBox::Ok)->click();
    });
    window.showError("出错了");
}

TEST_F(MainWindowTest, AnEditTypedIntoTheWindowIsSavedAndTheImageClosesWithTheWindow) {
    openThroughDialog();
    box("wt2")->clear();
    QTest::keyClicks(box("wt2"), "200");
    press("save", [](QWidget* modal) {
        auto* question = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->icon(), QMessageBox::Question);
        EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::Yes));
        EXPECT_EQ(question->button(QMessageBox::Yes)->text() + question->button(QMessageBox::No)->text(), "是否");
        question->button(QMessageBox::Yes)->click();
    });
    auto expected = original;
    expected[0x61411] = 200;
    EXPECT_EQ(testing::readFile(image), expected);
    EXPECT_TRUE(isOpenByThisProcess(image));
    window.close();
    EXPECT_FALSE(isOpenByThisProcess(image));
}

}  // namespace
}  // namespace varnel
