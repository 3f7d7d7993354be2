#pragma once
// The left of the main window: the entry of the next draw (period Text1, for year-numbered games
// its date, the five digit boxes), the history grid MSFlexGrid1 with its formula columns' pager
// HScroll1, and the switch Check1 that shows every formula's verification in the grid.

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QDate;
class QDateEdit;
class QLabel;
class QLineEdit;
class QScrollBar;
class QTableView;

namespace qeltaro {
class AnalysisSession;
}

namespace qeltaro::gui {

class DrawEntry;
class HistoryGridModel;

class HistoryPanel : public QWidget {
    Q_OBJECT
public:
    HistoryPanel(AnalysisSession& session, QWidget* parent);

    // The session's history as reloaded, with the proposed next period (and date).
    void showHistory();
    // The verification columns of the last back-test, when Check1 asks for them.
    void showVerification();
    // The date box shows for a year-numbered game only.
    void showGame();
    // The pager reaches every formula column.
    void setFormulaCount(int formulas);
    bool verificationShown() const;
    void focusFirstDigit();
    void scrollToEnd();
    // The text of the period box.
    QString typedPeriod() const;
    // The date of the draw typed, for a year-numbered game.
    std::optional<QDate> typedDrawDate() const;

signals:
    // Five digits were typed and each is a digit 0-9.
    void drawTyped(const QString& period, const QString& digits);
    // A click (left) or right click on the grid's row of `period`.
    void periodReleased(const QString& period, Qt::MouseButton button);
    // Check1 was clicked.
    void verificationToggled();

private:
    QLayout* buildEntry();
    void followDate(const QDate& date);
    void typedDrawComplete(const QString& period, const QString& digits);
    void released(int row, Qt::MouseButton button);

    AnalysisSession& session_;
    QLineEdit* periodBox_ = nullptr;    // Text1
    QLabel* dateLabel_ = nullptr;
    QDateEdit* dateBox_ = nullptr;      // year-numbered games only
    std::array<QLineEdit*, 5> digitBoxes_{};  // txtIpt(1..5)
    DrawEntry* entry_ = nullptr;
    QTableView* grid_ = nullptr;        // MSFlexGrid1
    HistoryGridModel* model_ = nullptr;
    QScrollBar* pager_ = nullptr;       // HScroll1
    QCheckBox* verificationBox_ = nullptr;  // Check1
    QString proposedPeriod_;  // what the period box was last filled with
};

}  // namespace qeltaro::gui
