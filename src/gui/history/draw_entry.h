#pragma once
// The five digit boxes txtIpt(1..5) with the period box Text1: a digit typed into a box moves on
// to the next one; the fifth digit stores the draw, as Enter in any of the six boxes does once
// the five are filled. Focus entering the first box clears all five.

#include <QObject>
#include <QString>

#include <array>

class QLineEdit;

namespace qeltaro::gui {

class DrawEntry : public QObject {
    Q_OBJECT
public:
    DrawEntry(std::array<QLineEdit*, 5> boxes, QLineEdit* periodBox, QObject* parent = nullptr);

    void clear();
    // The five boxes' texts joined, as typed.
    QString digitsText() const;
    // Empty when every box holds exactly one digit 0-9, else a message naming the first bad box.
    QString problem() const;
    // Whether every box holds a character (a draw to store, or to refuse with problem()).
    bool filled() const;

signals:
    // The fifth digit was typed: store the draw `digits` under `period`.
    void drawComplete(const QString& period, const QString& digits);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 5> boxes_;
    QLineEdit* periodBox_;
};

}  // namespace qeltaro::gui
