#pragma once
// frmGsCsArr "公式排序设置": the three sort keys of the best-formula method, each with its
// direction, and the number of digits to keep. The limit box starts at "3" every time.

#include "backtest/sort_settings.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace qeltaro::gui {

class SortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SortSettingsDialog(QWidget* parent = nullptr);

    // Shows the keys and directions of `current` modally, the limit box reset to "3".
    void showWithSettings(const SortSettings& current);
    // What the dialog shows now; an error for a limit that is not a whole number 0..10.
    Result<SortSettings> settings() const;

signals:
    void settingsConfirmed(const qeltaro::SortSettings& settings);

private:
    void confirm();

    // Option1..Option3, five items each, and each key's direction.
    std::array<std::array<QRadioButton*, 5>, 3> keyOptions_{};
    std::array<QComboBox*, 3> directions_{};
    QLineEdit* limitBox_ = nullptr;  // Text1
};

}  // namespace qeltaro::gui
