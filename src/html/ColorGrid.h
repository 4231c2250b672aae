#pragma once
// TColorGrid: a square picker of colour cells, four to a row; a click on a cell picks its colour.
// Colours are 0x00BBGGRR values. No cell stays marked: the picked colour shows elsewhere.
#include <QWidget>
#include <vector>

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    TColorGrid(std::vector<unsigned> colors, QWidget* parent);

signals:
    void ColorPicked(unsigned bgr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect Cell(int index) const;

    std::vector<unsigned> colors_;
};
