#include "ui/MainWindow.h"

#include "core/TableTexts.h"
#include "editor/Messages.h"
#include "editor/TableControls.h"
#include "ui/WindowLayout.h"
#include "ui/WindowStyle.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <optional>

namespace varnel {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString toQString(Control control) { return fromUtf8(controlName(control)); }

std::size_t indexOf(BoxGroup group) { return static_cast<std::size_t>(group); }

// The caption of field label k (1..8) of a group; the items column only counts.
std::string_view labelCaption(BoxGroup group, int field) {
    static constexpr std::array<std::string_view, 8> numbers{"1", "2", "3", "4", "5", "6", "7", "8"};
    for (const TableControls& table : tableControls) {
        if (table.boxes == group) return fieldCaptions(table.kind)[static_cast<std::size_t>(field - 1)];
    }
    return numbers[static_cast<std::size_t>(field - 1)];
}

QLabel* makeLabel(QWidget* parent, std::string_view name, std::string_view caption, const QRect& rect,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(fromUtf8(caption), parent);
    label->setObjectName(fromUtf8(name));
    label->setGeometry(rect);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("Main");
    setWindowTitle(QStringLiteral("VarnelROM修改器"));
    setWindowIcon(style::windowIcon());
    setFont(style::windowFont());
    setFixedSize(layout::clientSize);

    buildControls();
    buildTabOrder();
    controller_.onLoad();
    box({BoxGroup::wt, 1})->setFocus();
}

MainWindow::~MainWindow() {
    // Children outlive the controller; their last signals must not reach it.
    for (const layout::ListLayout& column : layout::lists) control(column.list)->disconnect(this);
}

void MainWindow::buildControls() {
    for (const layout::ListLayout& column : layout::lists) {
        makeLabel(this, column.headingName, column.headingCaption, column.headingRect, Qt::AlignLeft);
        // Only the lists behind a table tell the controller about selections.
        const std::optional<TableKind> kind = tableListedIn(column.list);
        const auto selected = [this, kind] { controller_.onSelect(*kind); };
        QWidget* list = nullptr;
        if (column.list == Control::cm) {
            magicList_ = new QComboBox(this);  // pick only, never typed into
            connect(magicList_, &QComboBox::currentIndexChanged, this, selected);
            list = magicList_;
        } else {
            auto* listBox = new QListWidget(this);
            listBox->setSelectionMode(QAbstractItemView::SingleSelection);
            // Every row is one line of one font: sizing one row stands for all, and
            // the first paint does not measure (and load the glyphs of) every name.
            listBox->setUniformItemSizes(true);
            if (kind) connect(listBox, &QListWidget::currentRowChanged, this, selected);
            listBoxes_[static_cast<std::size_t>(column.list)] = listBox;
            list = listBox;
        }
        list->setObjectName(toQString(column.list));
        list->setGeometry(column.listRect);
    }
    // The items list is never enabled; it shows what fits and does not scroll.
    listBoxes_[2]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listBoxes_[2]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    for (const layout::FieldGroupLayout& group : layout::fieldGroups) {
        for (int field = 1; field <= 8; ++field) {
            const auto index = static_cast<std::size_t>(field - 1);
            const std::string_view caption = labelCaption(group.group, field);
            QLabel* label = makeLabel(this, group.labelNames[index], caption, group.labelRects[index],
                                      group.labelAlignment);

            auto* lineEdit = new QLineEdit(this);
            lineEdit->setObjectName(QString::fromStdString(boxName({group.group, field})));
            lineEdit->setGeometry(QRect(group.firstBox + group.boxStep * (field - 1), layout::boxSize));
            lineEdit->setMaxLength(3);
            lineEdit->setAccessibleName(QString::fromStdString(plainCaption(caption)));
            label->setBuddy(lineEdit);  // also turns "&" into an underlined access key
            boxes_[indexOf(group.group)][index] = lineEdit;
        }
    }

    openButton_ = new QPushButton(QStringLiteral("打开文件"), this);
    openButton_->setObjectName("openf");
    openButton_->setGeometry(layout::openButtonRect);
    connect(openButton_, &QPushButton::clicked, this, [this] { controller_.onOpen(); });

    saveButton_ = new QPushButton(QStringLiteral("保存修改"), this);
    saveButton_->setObjectName("save");
    saveButton_->setGeometry(layout::saveButtonRect);
    connect(saveButton_, &QPushButton::clicked, this, [this] { controller_.onSave(); });

    makeLabel(this, "Label1", style::credit, layout::creditRect, Qt::AlignLeft);

    for (const layout::LineLayout& line : layout::lines) {
        auto* frame = new QFrame(this);
        frame->setObjectName(fromUtf8(line.name));
        frame->setFrameShape(QFrame::HLine);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setGeometry(0, line.y - 1, layout::lineLength, 2);
    }
}

void MainWindow::buildTabOrder() {
    std::vector<QWidget*> order;
    const auto addBoxes = [&](BoxGroup group) {
        for (QLineEdit* lineEdit : boxes_[indexOf(group)]) order.push_back(lineEdit);
    };
    addBoxes(BoxGroup::wt);
    order.push_back(control(Control::lw));
    order.push_back(control(Control::la));
    addBoxes(BoxGroup::at);
    order.push_back(control(Control::li));
    addBoxes(BoxGroup::it);
    order.push_back(control(Control::cm));
    addBoxes(BoxGroup::mt);
    order.push_back(openButton_);
    order.push_back(saveButton_);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QLineEdit* MainWindow::box(FieldBox box) const {
    return boxes_[indexOf(box.group)][static_cast<std::size_t>(box.field - 1)];
}

QWidget* MainWindow::control(Control control) const {
    switch (control) {
    case Control::lw:
    case Control::la:
    case Control::li: return listBoxes_[static_cast<std::size_t>(control)];
    case Control::cm: return magicList_;
    case Control::openf: return openButton_;
    case Control::save: return saveButton_;
    }
    return nullptr;
}

void MainWindow::appendItem(Control list, std::string_view text) {
    if (list == Control::cm) {
        // A combo box selects its first row by itself; keep the selection for
        // select(), which raises the event.
        const QSignalBlocker blocker(magicList_);
        magicList_->addItem(fromUtf8(text));
        if (magicList_->count() == 1) magicList_->setCurrentIndex(-1);
        return;
    }
    listBoxes_[static_cast<std::size_t>(list)]->addItem(fromUtf8(text));
}

int MainWindow::selectedIndex(Control list) const {
    if (list == Control::cm) return magicList_->currentIndex();
    return listBoxes_[static_cast<std::size_t>(list)]->currentRow();
}

void MainWindow::select(Control list, int position) {
    if (list == Control::cm) {
        magicList_->setCurrentIndex(position);
    } else {
        listBoxes_[static_cast<std::size_t>(list)]->setCurrentRow(position);
    }
}

void MainWindow::setEnabled(Control control, bool on) {
    this->control(control)->setEnabled(on);
}

std::string MainWindow::fieldText(FieldBox box) const {
    return this->box(box)->text().toStdString();
}

void MainWindow::setFieldText(FieldBox box, std::string_view text) {
    this->box(box)->setText(fromUtf8(text));
}

void MainWindow::setOpenFilter(std::string_view filter) {
    // "Description|pattern|..." pairs; the descriptions already name their patterns.
    const QStringList parts = fromUtf8(filter).split('|');
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size(); i += 2) descriptions.push_back(parts[i]);
    openFilter_ = descriptions.join(QStringLiteral(";;"));
}

std::string MainWindow::chooseFileToOpen() {
    // Qt's own dialog everywhere: it matches the filter without regard to
    // letter case, which some native dialogs do not.
    QFileDialog dialog(this, QStringLiteral("打开文件"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(openFilter_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

bool MainWindow::confirm(std::string_view prompt, std::string_view title) {
    QMessageBox question(QMessageBox::Question, fromUtf8(title), fromUtf8(prompt),
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setDefaultButton(QMessageBox::Yes);
    question.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    question.button(QMessageBox::No)->setText(QStringLiteral("否"));
    return question.exec() == QMessageBox::Yes;
}

void MainWindow::showError(std::string_view text) {
    QMessageBox error(QMessageBox::Critical, fromUtf8(messages::errorTitle), fromUtf8(text), QMessageBox::Ok, this);
    error.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    error.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    controller_.onUnload();
    event->accept();
}

}  // namespace varnel
