#pragma once
// TGoPageForm: the small dialog "Переход на страницу": a number box 1 … page count and the
// buttons "OK" and "Отмена"; Enter confirms, Escape cancels.
#include <QDialog>

class QSpinBox;

class TGoPageForm : public QDialog {
public:
    TGoPageForm(int current, int count, QWidget* parent);
    // The page typed (1-based), clamped to 1 … count.
    int Page() const;
    QSpinBox* NumberBox() const { return number_; }

private:
    QSpinBox* number_ = nullptr;
    int count_ = 1;
};
