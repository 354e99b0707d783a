// The real window under the offscreen platform: its state after start-up,
// keyboard order, the boxes' limits, the captions' fit, and whole edits made
// through the widgets and dialogs, checked against the image's bytes.

#include "tests/support/SyntheticImage.h"
#include "tests/ui/ModalAnswer.h"
#include "ui/MainWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace varnel {
namespace {

using testing::answerNextModal;
using testing::differingOffsets;
using testing::readFile;
using testing::writeFile;

QStringList boxNames(char group) {
    QStringList names;
    for (int field = 1; field <= 8; ++field) names << QStringLiteral("%1t%2").arg(group).arg(field);
    return names;
}

// Waits, handling events, until the condition holds or five seconds pass.
template <typename Condition>
bool waitFor(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return condition();
}

class MainWindowTest : public ::testing::Test, protected testing::ImageFile {
protected:
    MainWindowTest() : ImageFile("游戏 镜像.nes") {}

    void SetUp() override {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename Widget = QWidget>
    Widget* find(const QString& name) const {
        auto* widget = window->findChild<Widget*>(name);
        if (widget == nullptr) ADD_FAILURE() << "no control " << name.toStdString();
        return widget;
    }

    QLineEdit* box(const QString& name) const { return find<QLineEdit>(name); }

    void retype(const QString& name, const QString& text) {
        QLineEdit* lineEdit = box(name);
        lineEdit->setFocus();
        lineEdit->selectAll();
        QTest::keyClick(lineEdit, Qt::Key_Delete);
        // One event per character: QTest::keyClicks cannot send text outside Latin-1.
        for (const QChar character : text) {
            QTest::sendKeyEvent(QTest::Click, lineEdit, Qt::Key_unknown, QString(character), Qt::NoModifier);
        }
    }

    void openThroughDialog(const std::filesystem::path& path) {
        answerNextModal([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            // As a user would: type the path into the name box and accept.
            // (selectFile() leaves the box alone while it has the focus.)
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(path.string()));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(find<QPushButton>("openf"), Qt::LeftButton);
        // The offscreen platform does not hand activation back when a dialog closes.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Presses Save and answers the question; returns the question's text.
    QString saveAnswering(QMessageBox::StandardButton answer) {
        QString seen;
        answerNextModal([&seen, answer](QWidget* modal) {
            auto* question = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(question->icon(), QMessageBox::Question);
            EXPECT_EQ(question->windowTitle(), QStringLiteral("Varnel修改器"));
            EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::Yes));
            EXPECT_EQ(question->button(QMessageBox::Yes)->text(), QStringLiteral("是"));
            EXPECT_EQ(question->button(QMessageBox::No)->text(), QStringLiteral("否"));
            seen = question->text();
            question->button(answer)->click();
        });
        QTest::mouseClick(find<QPushButton>("save"), Qt::LeftButton);
        return seen;
    }

    // Walks the Tab chain from wt1 until it comes back, naming each stop.
    QStringList tabChain() {
        box("wt1")->setFocus();
        QStringList chain{"wt1"};
        for (int presses = 0; presses < 100; ++presses) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString name = QApplication::focusWidget()->objectName();
            if (name == "wt1") break;
            chain << name;
        }
        return chain;
    }

    std::unique_ptr<MainWindow> window;
};

// --- Start-up ------------------------------------------------------------------

TEST_F(MainWindowTest, StartsReadyWithZerosAndOnlyOpenUsable) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VarnelROM修改器"));
    EXPECT_EQ(window->size(), QSize(821, 405));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->objectName(), "Main");

    for (const char* name : {"lw", "la", "li", "cm", "save"}) EXPECT_FALSE(find(name)->isEnabled()) << name;
    EXPECT_TRUE(find("openf")->isEnabled());
    for (const char group : {'w', 'a', 'm'}) {
        for (const QString& name : boxNames(group)) {
            EXPECT_EQ(box(name)->text(), "0") << name.toStdString();
            EXPECT_TRUE(box(name)->isEnabled());
        }
    }
    for (const QString& name : boxNames('i')) EXPECT_EQ(box(name)->text(), "");
    EXPECT_EQ(find<QListWidget>("lw")->count(), 88);
    EXPECT_EQ(find<QListWidget>("la")->count(), 64);
    EXPECT_EQ(find<QListWidget>("li")->count(), 49);
    EXPECT_EQ(find<QComboBox>("cm")->count(), 56);
    EXPECT_EQ(find<QListWidget>("lw")->item(3)->text(), QStringLiteral("Dragon飞龙爪"));
    EXPECT_EQ(QApplication::focusWidget(), box("wt1"));
}

TEST_F(MainWindowTest, EveryWindowTextShowsInTheSimplifiedChineseFont) {
    const QFont font = window->font();
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'攻')) << QFontInfo(font).family().toStdString();
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (child->window() != window.get()) continue;  // e.g. a drop-down's popup
        EXPECT_EQ(child->font(), font) << child->objectName().toStdString();
    }
}

// --- Keyboard ------------------------------------------------------------------

TEST_F(MainWindowTest, TabSkipsTheDisabledControlsBeforeAnImageIsOpen) {
    const QStringList expected = boxNames('w') + boxNames('a') + boxNames('i') + boxNames('m') + QStringList{"openf"};
    EXPECT_EQ(tabChain(), expected);
}

TEST_F(MainWindowTest, TabVisitsTheListsAndSaveOnceAnImageIsOpen) {
    openThroughDialog(image);
    ASSERT_FALSE(find("openf")->isEnabled());
    EXPECT_FALSE(find("li")->isEnabled());
    const QStringList expected = boxNames('w') + QStringList{"lw", "la"} + boxNames('a') + boxNames('i') +
                                 QStringList{"cm"} + boxNames('m') + QStringList{"save"};
    EXPECT_EQ(tabChain(), expected);
}

TEST_F(MainWindowTest, AFieldBoxTakesThreeCharactersAndRefusesAFourth) {
    retype("wt1", "1234");
    EXPECT_EQ(box("wt1")->text(), "123");
    retype("it8", QStringLiteral("２５５６"));
    EXPECT_EQ(box("it8")->text(), QStringLiteral("２５５"));
}

// --- Captions ------------------------------------------------------------------

TEST_F(MainWindowTest, EveryCaptionFitsItsBox) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->window() != window.get()) continue;
        const QRect box = label->geometry();
        const QRect needed = QFontMetrics(label->font())
                                 .boundingRect(QRect(0, 0, box.width(), 1000),
                                               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
                                               label->text());
        EXPECT_LE(needed.width(), box.width()) << label->objectName().toStdString();
        EXPECT_LE(needed.height(), box.height()) << label->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, TheTargetRangeLabelUnderlinesItsAccessKey) {
    const auto* label = find<QLabel>("ml6");
    EXPECT_EQ(label->text(), QStringLiteral("攻击对象&范围"));
    EXPECT_EQ(label->buddy(), box("mt6"));  // with a buddy Qt hides "&" and underlines what follows
    EXPECT_EQ(QKeySequence::mnemonic(label->text()), QKeySequence(Qt::ALT | Qt::Key(QChar(U'范').unicode())));
    EXPECT_EQ(box("mt6")->accessibleName(), QStringLiteral("攻击对象范围"));
}

TEST_F(MainWindowTest, ControlsDoNotOverlapAndTheLinesSpanTheWidth) {
    // A two-line label reaches one blank pixel row into the row below it;
    // beyond that nothing may share a pixel.
    const auto allowedOverlap = [](const QWidget* a, const QWidget* b) {
        const bool label = qobject_cast<const QLabel*>(a) != nullptr || qobject_cast<const QLabel*>(b) != nullptr;
        return label ? 1 : 0;
    };
    std::vector<const QWidget*> controls;
    for (const QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->objectName().startsWith("Line")) {
            EXPECT_EQ(child->geometry().left(), 0);
            EXPECT_GE(child->geometry().right(), window->width() - 1);
            continue;
        }
        EXPECT_TRUE(window->rect().contains(child->geometry())) << child->objectName().toStdString();
        controls.push_back(child);
    }
    EXPECT_EQ(controls.size(), 4u + 4u + 64u + 3u);  // lists, headings, labels and boxes, buttons and credit
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const QRect shared = controls[i]->geometry().intersected(controls[j]->geometry());
            EXPECT_LE(shared.isEmpty() ? 0 : shared.height(), allowedOverlap(controls[i], controls[j]))
                << controls[i]->objectName().toStdString() << " and " << controls[j]->objectName().toStdString();
        }
    }
}

// --- Open ----------------------------------------------------------------------

TEST_F(MainWindowTest, TheOpenDialogOffersImagesWhateverTheirLetterCase) {
    const auto offeredFolder = folder.path() / "offered";
    std::filesystem::create_directory(offeredFolder);
    for (const char* name : {"a.nes", "b.NES", "c.Nes", "d.txt", "e.nes.bak"}) writeFile(offeredFolder / name, {0});
    QStringList offered;
    QStringList filters;
    QStringList buttons;
    answerNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) buttons << button->text();
        dialog->setDirectory(QString::fromStdString(offeredFolder.string()));
        auto* list = dialog->findChild<QListView*>("listView");
        ASSERT_NE(list, nullptr);
        waitFor([&] { return list->model()->rowCount(list->rootIndex()) >= 3; });
        QTest::qWait(100);
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
            const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
            if (index.flags() & Qt::ItemIsEnabled) offered << index.data().toString();
        }
        dialog->reject();
    });
    QTest::mouseClick(find<QPushButton>("openf"), Qt::LeftButton);

    EXPECT_EQ(filters, QStringList{"Nes Files(*.Nes)"});
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join(' ').toStdString();  // Qt's own texts in Chinese
    offered.sort();
    EXPECT_EQ(offered, (QStringList{"a.nes", "b.NES", "c.Nes"}));
    EXPECT_TRUE(find("openf")->isEnabled());  // cancelled: still Ready
    EXPECT_FALSE(find("save")->isEnabled());
}

// --- Whole edits ---------------------------------------------------------------

TEST_F(MainWindowTest, AnEditMadeThroughTheWidgetsLandsInTheImage) {
    openThroughDialog(image);

    auto* weapons = find<QListWidget>("lw");
    QTest::mouseClick(weapons->viewport(), Qt::LeftButton, {}, weapons->visualItemRect(weapons->item(3)).center());
    ASSERT_EQ(weapons->currentRow(), 3);
    auto* armour = find<QListWidget>("la");
    armour->scrollToItem(armour->item(10));
    QTest::mouseClick(armour->viewport(), Qt::LeftButton, {}, armour->visualItemRect(armour->item(10)).center());
    ASSERT_EQ(armour->currentRow(), 10);
    auto* magic = find<QComboBox>("cm");
    magic->setFocus();
    for (int step = 0; step < 20; ++step) QTest::keyClick(magic, Qt::Key_Down);
    ASSERT_EQ(magic->currentIndex(), 20);
    EXPECT_EQ(box("mt1")->text(), QString::number(original[0x61970]));

    retype("wt2", "200");
    retype("at5", QStringLiteral("２５５"));
    retype("mt8", "7.5");
    retype("it1", "999");  // never read
    EXPECT_EQ(saveAnswering(QMessageBox::Yes), QStringLiteral("确定要保存修改结果？"));

    const auto bytes = readFile(image);
    EXPECT_EQ(differingOffsets(original, bytes).size(),
              std::size_t(original[0x61429] != 200) + (original[0x61724] != 255) + (original[0x61977] != 8));
    EXPECT_EQ(bytes[0x61429], 200);
    EXPECT_EQ(bytes[0x61724], 255);
    EXPECT_EQ(bytes[0x61977], 8);
    EXPECT_EQ(box("mt8")->text(), "7.5");
}

TEST_F(MainWindowTest, AnOutOfRangeValueShowsAnErrorAndWritesNothing) {
    openThroughDialog(image);
    retype("at5", "300");

    QString error;
    answerNextModal([&](QWidget* modal) {
        auto* question = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(question, nullptr);
        answerNextModal([&](QWidget* next) {
            auto* box = qobject_cast<QMessageBox*>(next);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            error = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        question->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(find<QPushButton>("save"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !error.isEmpty(); }));

    EXPECT_TRUE(error.contains(QStringLiteral("魔法防御"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("300")));
    EXPECT_EQ(readFile(image), original);
    EXPECT_TRUE(find("save")->isEnabled());
}

TEST_F(MainWindowTest, ClosingTheWindowClosesTheImage) {
    openThroughDialog(image);
    ASSERT_TRUE(testing::isOpenByThisProcess(image));
    window->close();
    EXPECT_FALSE(testing::isOpenByThisProcess(image));
}

}  // namespace
}  // namespace varnel
