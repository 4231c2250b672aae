#include <gtest/gtest.h>

#include "base/GlobalPaths.h"
#include "rules/InterfaceDescription.h"

namespace {
class Elements : public ::testing::Test {
protected:
    void SetUp() override {
        SetCdRoot("d:\\");
        SetProgramDir("d:\\run\\");
        keys.minimize.picture1 = "min.bmp";
        keys.minimize.command = "minimize";
        keys.close.picture1 = "close.bmp";
        keys.close.command = "exit";
    }
    TInterfaceDescription read(const TDynamicStringArray& lines) { return ReadElements(lines, keys); }
    RWindowKeys keys;
};

TEST_F(Elements, ScreenIndexIsTheFirstNumberOfTheLineMinusOne) {
    const auto d = read({"2button vx=5; vy=7; fn1=b.bmp; go=back", "button vx=5; vy=9", "3_html vx=1"});
    ASSERT_EQ(d.ScreenButtons.size(), 5u);
    EXPECT_TRUE(d.ScreenButtons[0].empty());
    ASSERT_EQ(d.ScreenButtons[1].size(), 1u);
    EXPECT_EQ(d.ScreenButtons[1][0].left, 5);
    EXPECT_EQ(d.ScreenButtons[1][0].top, 7);
    EXPECT_EQ(d.ScreenButtons[1][0].picture1, "b.bmp");
    EXPECT_EQ(d.ScreenButtons[1][0].command, "back");
    ASSERT_EQ(d.ScreenButtons[4].size(), 1u);  // "vx=5" is the line's first number
    EXPECT_EQ(d.ScreenButtons[4][0].top, 9);
    ASSERT_EQ(d.Htmls.size(), 1u);
    EXPECT_EQ(d.Htmls[0].screen, 2);
}

TEST_F(Elements, FirstKindWordOfTheLineDecides) {
    const auto d = read({"1button _popup go=x", "1switchone fn1=button_off.bmp"});
    ASSERT_EQ(d.ScreenButtons.size(), 1u);
    EXPECT_EQ(d.ScreenButtons[0].size(), 2u);
    EXPECT_TRUE(d.ScreenPopups.empty());
    EXPECT_TRUE(d.ScreenSwitchesOne.empty());
}

TEST_F(Elements, ScreenLineGivesBackgroundAndWindowButtons) {
    const auto d = read({"1_screen=back1.bmp; x", "1button go=html1=page.htm", "2button vx=2"});
    EXPECT_EQ(d.ScreenBackgrounds, std::vector<std::string>{"back1.bmp"});
    ASSERT_EQ(d.ScreenButtons.size(), 2u);
    ASSERT_EQ(d.ScreenButtons[0].size(), 3u);
    EXPECT_EQ(d.ScreenButtons[0][0].picture1, "min.bmp");
    EXPECT_EQ(d.ScreenButtons[0][1].command, "exit");
    EXPECT_EQ(d.ScreenButtons[0][2].command, "html1=page.htm");  // a button's command is kept as written
    EXPECT_EQ(d.ScreenButtons[1].size(), 1u);  // no "_screen" line: no window buttons
    EXPECT_EQ(d.ScreenSwitchesOne.size(), 1u);
    EXPECT_EQ(d.ScreenSwitchesGrp.size(), 1u);
}

TEST_F(Elements, SwitchesReadStateStoreAndCommands) {
    const auto d = read({
        "1switchone vx=10; fn4=on.bmp; state=on; store=on; goup=html1=off.htm; godown=tree2; wav=a.wav",
        "1switchone state=yes; store=off",
        "1switchone",
        "1switchgrp group=3; go=html1=page.htm; state=on",
    });
    ASSERT_EQ(d.ScreenSwitchesOne.at(0).size(), 3u);
    const RSwthOne& s = d.ScreenSwitchesOne[0][0];
    EXPECT_EQ(s.left, 10);
    EXPECT_EQ(s.picture4, "on.bmp");
    EXPECT_TRUE(s.state);
    EXPECT_TRUE(s.store);
    EXPECT_EQ(s.upCommand, "html1=d:\\run\\off.htm");
    EXPECT_EQ(s.downCommand, "tree2");
    EXPECT_EQ(s.sound, "a.wav");
    EXPECT_FALSE(d.ScreenSwitchesOne[0][1].state);
    EXPECT_FALSE(d.ScreenSwitchesOne[0][1].store);
    EXPECT_FALSE(d.ScreenSwitchesOne[0][2].state);
    ASSERT_EQ(d.ScreenSwitchesGrp.at(0).size(), 1u);
    EXPECT_EQ(d.ScreenSwitchesGrp[0][0].group, 3);
    EXPECT_EQ(d.ScreenSwitchesGrp[0][0].command, "html1=d:\\run\\page.htm");
    EXPECT_TRUE(d.ScreenSwitchesGrp[0][0].state);
}

TEST_F(Elements, PopupListsRunOverLinesAndReadingGoesOnAfterThem) {
    const auto d = read({
        "1_popup xfon=-1; yfon=20; fnfon=pop.bmp; ybtn=4; fontup=arial; colorup=255,0,0; caption=[\xCA\xEE\xEF\xE8\xFF",
        "\xCF\xE5\xF7\xE0\xF2\xFC] parent=main; go=[copyhtml",
        "html1=buttons.htm] type=7; vertex=[0,0;5,5]",
        "1button vx=3",
    });
    ASSERT_EQ(d.ScreenPopups.size(), 1u);
    ASSERT_EQ(d.ScreenPopups[0].size(), 1u);
    const RPopupData& p = d.ScreenPopups[0][0];
    EXPECT_EQ(p.backgroundX, -1);
    EXPECT_EQ(p.backgroundY, 20);
    EXPECT_EQ(p.backgroundPicture, "pop.bmp");
    EXPECT_EQ(p.itemMargin, 4);
    EXPECT_EQ(p.colorUp, 255u);
    EXPECT_EQ(p.captions, (TDynamicStringArray{"\xCA\xEE\xEF\xE8\xFF", "\xCF\xE5\xF7\xE0\xF2\xFC"}));
    EXPECT_EQ(p.commands, (TDynamicStringArray{"copyhtml", "html1=d:\\run\\buttons.htm"}));
    EXPECT_EQ(p.parent, "");  // looked up on the line where the "go" list ended
    EXPECT_EQ(p.type, 7);
    EXPECT_EQ(p.vertex, (TDynamicStringArray{"0,0", "5,5"}));
    ASSERT_EQ(d.ScreenButtons.size(), 1u);  // "buttons.htm" inside the list is no element
    ASSERT_EQ(d.ScreenButtons[0].size(), 1u);
    EXPECT_EQ(d.ScreenButtons[0][0].left, 3);
}

TEST_F(Elements, PopupTypeNamesAndNumbers) {
    const auto d = read({"1_popup type=historyback", "1_popup type=historyforward", "1_popup type=favorite",
                         "1_popup type=contexthtml", "1_popup type=12", "1_popup"});
    std::vector<int32_t> types;
    for (const auto& p : d.ScreenPopups.at(0)) types.push_back(p.type);
    EXPECT_EQ(types, (std::vector<int32_t>{-1, -2, -3, -5, 12, 0}));
}

TEST_F(Elements, FlatKindsKeepTheirScreenAndKeys) {
    const auto d = read({
        "2_findtxt vx=1; vy=2; vw=30; vh=40; frame=main; hint=find; nofiles=[a",
        "b] number=5",
        "1_clip bgcolor=0,0,255; html=2",
        "1_text vx=4; font=arial; size=9; style=bold; value=\xC0\xE1; ident=statusline",
        "1_path pathdef=c:\\games; hint=where",
        "1_image dir=slides\\", "1_image dir=<cd>pics",
    });
    ASSERT_EQ(d.FindTexts.size(), 1u);
    const RFindTxt& f = d.FindTexts[0];
    EXPECT_EQ(f.screen, 1);
    EXPECT_EQ(f.right, 30);
    EXPECT_EQ(f.bottom, 40);
    EXPECT_EQ(f.frame, "main");
    EXPECT_EQ(f.noFiles, (TDynamicStringArray{"a", "b"}));
    EXPECT_EQ(f.number, 5);  // after the list: read from the list's last line
    EXPECT_EQ(f.hint, "");
    ASSERT_EQ(d.Clips.size(), 1u);
    EXPECT_EQ(d.Clips[0].bgColor, 0xFF0000u);
    EXPECT_EQ(d.Clips[0].html, 2);
    ASSERT_EQ(d.Texts.size(), 1u);
    EXPECT_EQ(d.Texts[0].value, "\xC0\xE1");
    EXPECT_EQ(d.Texts[0].size, 9);
    EXPECT_EQ(d.Texts[0].ident, "statusline");
    ASSERT_EQ(d.PathInputs.size(), 1u);
    EXPECT_EQ(d.PathInputs[0].pathDef, "c:\\games");
    ASSERT_EQ(d.Images.size(), 2u);
    EXPECT_EQ(d.Images[0].dir, "d:\\run\\slides\\");
    EXPECT_EQ(d.Images[1].dir, "d:\\pics\\");
}

TEST_F(Elements, LinesOutsideEveryScreenAreReadButNotKept) {
    const auto d = read({
        "_popup caption=[a",  // no number: screen index -2
        "b] go=[back;forward]",
        "_screen=back.bmp",
        "_html fn=start.htm",
        "2000000000button vx=1",
        "2000000000_screen=b.bmp",
        "-2147483648button",
        "1switchone state=on",
    });
    EXPECT_TRUE(d.ScreenPopups.empty());
    EXPECT_TRUE(d.ScreenButtons.empty());
    EXPECT_TRUE(d.ScreenBackgrounds.empty());
    ASSERT_EQ(d.Htmls.size(), 1u);
    EXPECT_EQ(d.Htmls[0].screen, -2);
    EXPECT_EQ(d.Htmls[0].document, "d:\\run\\start.htm");
    ASSERT_EQ(d.ScreenSwitchesOne.size(), 1u);
    EXPECT_TRUE(d.ScreenSwitchesOne[0].at(0).state);
}
}  // namespace
