#pragma once
// TTextMsg: the text labels of the interface description, single lines drawn straight onto the
// main window or, for number 1000, onto the message dialog. Other parts change their texts at run
// time: SetText with a number picks the label of that number, with -1 every label whose ident is
// "statusline". A label's rectangle follows its measured text; changing a text repaints the old
// rectangle (the window's background shows through it again) and the new one. Equal text does
// nothing. Window thread only.
#include <QFont>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

#include "rules/Elements.h"

class QPainter;

constexpr int kDialogTextNumber = 1000;
constexpr int kAllStatusTexts = -1;

struct RTextHost {
    std::function<int()> currentScreen;
    // Repaints an area of the main window, or of the dialog (false when there is no dialog).
    std::function<void(const QRect&)> repaintWindow;
    std::function<bool(const QRect&)> repaintDialog;
};

class TTextMsg {
public:
    TTextMsg(const std::vector<RText>& texts, RTextHost host);

    // Draws the labels of the current screen that belong to the dialog or to the main window.
    void PaintTexts(QPainter& painter, bool dialog);
    void SetText(const std::string& text, int number, bool redraw);

    int Count() const { return int(labels_.size()); }
    const std::string& Text(int i) const { return labels_[size_t(i)].text; }
    // The text of the first label with the number; empty when there is none.
    std::string TextOf(int number) const;
    QRect Rect(int i) const { return labels_[size_t(i)].rect; }
    // Times a label asked for a repaint; tests see that equal texts change nothing.
    int Repaints() const { return repaints_; }

private:
    struct Label {
        QFont font;
        uint32_t color = 0;
        QRect rect;  // left and top from the description; the size is the text's
        std::string text;
        int screen = 0;
        int number = 0;
        bool status = false;
    };
    void Measure(Label& label) const;
    void Repaint(const Label& label, const QRect& area);

    std::vector<Label> labels_;
    RTextHost host_;
    int repaints_ = 0;
};
