#pragma once
// A window for a contents tree under test that has no page frame: the tree opens nothing and
// shows no page.
#include <string>

#include "html/TreeList.h"

class TIdleTreeHost : public ITreeHost {
public:
    void OpenTreePage(const std::string&) override {}
    std::string CurrentPage() const override { return {}; }
    void ClosePopup() override {}
    void PointerLeftSkin() override {}
};
