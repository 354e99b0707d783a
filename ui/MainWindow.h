#pragma once
// The program's only window. It builds the controls, shows what the
// controller tells it and forwards the user's actions; it decides nothing.

#include "editor/EditorController.h"
#include "editor/EditorView.h"

#include <QString>
#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnel {

class MainWindow : public QWidget, public EditorView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    using QWidget::setEnabled;

    // EditorView
    void appendItem(Control list, std::string_view text) override;
    int selectedIndex(Control list) const override;
    void select(Control list, int position) override;
    void setEnabled(Control control, bool on) override;
    std::string fieldText(FieldBox box) const override;
    void setFieldText(FieldBox box, std::string_view text) override;
    void setOpenFilter(std::string_view filter) override;
    std::string chooseFileToOpen() override;
    bool confirm(std::string_view prompt, std::string_view title) override;
    void showError(std::string_view text) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildTabOrder();
    QLineEdit* box(FieldBox box) const;
    QWidget* control(Control control) const;

    std::array<QListWidget*, 3> listBoxes_{};  // lw, la, li
    QComboBox* magicList_ = nullptr;           // cm
    QPushButton* openButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    std::array<std::array<QLineEdit*, 8>, 4> boxes_{};  // by BoxGroup, then field - 1
    QString openFilter_;

    EditorController controller_{*this};
};

}  // namespace varnel
