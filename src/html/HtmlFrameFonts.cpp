// The page frame's default text attributes: read at creation, shown by every view, changed by
// the page font dialog and written back at the end.
#include "base/GlobalPaths.h"
#include "html/FontForm.h"
#include "html/HtmlFrame.h"
#include "html/engine/FrameViewer.h"
#include "platform/SettingsStore.h"

void THtmlFrame::ReadAttributes() {
    TSettingsStore settings(AppTitle());
    std::string name;
    if (settings.ReadString("FontName", name) && !name.empty()) attributes_.name = name;
    int32_t value = 0;
    if (settings.ReadInteger("FontColor", value)) attributes_.color = uint32_t(value);
    if (settings.ReadInteger("FontSize", value)) attributes_.size = value;
    if (settings.ReadInteger("HotSpotColor", value)) attributes_.hotSpotColor = uint32_t(value);
    if (settings.ReadInteger("Background", value)) attributes_.background = uint32_t(value);
}

// What the views show, with colours that are names of the dialog rather than RGB values made
// real, so that the next run renders them as this one did.
void THtmlFrame::WriteAttributes() const {
    TSettingsStore settings(AppTitle());
    settings.WriteString("FontName", attributes_.name);
    settings.WriteInteger("FontColor", int32_t(RealPageColor(attributes_.color)));
    settings.WriteInteger("FontSize", attributes_.size);
    settings.WriteInteger("HotSpotColor", int32_t(RealPageColor(attributes_.hotSpotColor)));
    settings.WriteInteger("Background", int32_t(RealPageColor(attributes_.background)));
}

void THtmlFrame::ApplyAttributes(TFrameViewer& view) const {
    view.SetDefFontName(attributes_.name);
    view.SetDefFontColor(RealPageColor(attributes_.color));
    view.SetDefFontSize(attributes_.size);
    view.SetDefHotSpotColor(RealPageColor(attributes_.hotSpotColor));
    view.SetDefBackground(RealPageColor(attributes_.background));
}

void THtmlFrame::SetAttributes(const RFontAttr& attributes) {
    attributes_ = attributes;
    for (TFrameViewer* view : views_) ApplyAttributes(*view);
    if (TFrameViewer* view = CurrentView()) view->Reload();
}

void THtmlFrame::ChooseFont() {
    TFontForm form(host_.FrameWindow());
    form.SetFontName(attributes_.name);
    form.SetFontColor(attributes_.color);
    form.SetFontSize(attributes_.size);
    form.SetHotSpotColor(attributes_.hotSpotColor);
    form.SetBackground(attributes_.background);
    if (form.exec() == QDialog::Accepted) SetAttributes(form.Attributes());
}
