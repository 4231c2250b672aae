#pragma once
// TFontForm: the page font dialog. It shows the five default text attributes of the pages — font
// name, text colour, size, link colour, background — with a live preview rendered by the page
// engine, and gives them back on OK. The font list holds the machine's font families; where no
// family is called "Arial", the family the font configuration puts in its place stands in the
// list under that name, so "Arial", the books' usual default, can always be chosen. The
// background list holds named colours; a colour without a name is added under its hexadecimal
// form. "&Сброс" goes back to the values the dialog showed when it opened. Window thread only.
#include <QDialog>
#include <cstdint>
#include <string>

class QListWidget;
class QSpinBox;
class TFrameViewer;
struct RFontAttr;

// A colour to render or store: an RGB value as it is; a name standing for no RGB value (the
// default, none, the button face and other system colours) as the colour it shows here.
uint32_t RealPageColor(uint32_t color, uint32_t fallback = 0xFFFFFF);

class TFontForm : public QDialog {
    Q_OBJECT
public:
    explicit TFontForm(QWidget* parent);

    // Each setter updates the preview.
    void SetFontName(const std::string& name);  // selects it in the list, else "Arial"
    void SetFontColor(uint32_t color);
    void SetFontSize(int points);  // also the size box
    void SetHotSpotColor(uint32_t color);
    void SetBackground(uint32_t color);  // selects its name, or adds it
    // The values to apply: the selected font ("Arial" when none), the colours picked, the size,
    // the selected background (the button face when none), every colour a real RGB value.
    RFontAttr Attributes() const;

    QListWidget* FontList() const { return fonts_; }
    QListWidget* BackgroundList() const { return backgrounds_; }
    QSpinBox* SizeBox() const { return size_; }
    TFrameViewer* Preview() const { return preview_; }
    const std::string& PreviewFontName() const { return fontName_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void FillFonts();
    void FillBackgrounds();
    void Render();
    void Reset();
    uint32_t SelectedBackground() const;

    TFrameViewer* preview_ = nullptr;
    QListWidget* fonts_ = nullptr;
    QListWidget* backgrounds_ = nullptr;
    QSpinBox* size_ = nullptr;
    std::string fontName_ = "Arial";
    uint32_t color_ = 0;
    int fontSize_ = 12;
    uint32_t hotSpotColor_ = 13158;
    uint32_t background_ = 0xFFFFFF;
    // The values shown at opening, for "&Сброс".
    std::string savedName_;
    uint32_t savedColor_ = 0;
    int savedSize_ = 12;
    uint32_t savedHotSpot_ = 0;
    uint32_t savedBackground_ = 0;
};
