#pragma once
// TPrintStatusForm: the small modal window shown while pages are laid out or printed: caption
// "Форматирование текста", a line telling the page at work and the button "Отмена". The button,
// closing the window or any key asks the work to stop; the work sees it at its next page.
#include <QDialog>

class QLabel;

class TPrintStatusForm : public QDialog {
public:
    explicit TPrintStatusForm(QWidget* parent);

    // "Форматирование ..." before the first page.
    void Starting();
    // "Номер страницы N" for the page just made (1-based).
    void PageDone(int page);
    bool StopRequested() const { return stop_; }
    QString Text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    QLabel* label_ = nullptr;
    bool stop_ = false;
};
