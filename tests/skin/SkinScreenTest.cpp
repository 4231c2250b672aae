// The buttons and switches as the user meets them, without a window: hover, press and release,
// silent presses, groups, the tree rule, fades, rebuilding on a screen switch and stored states.
#include "skin/SkinScreen.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <map>

#include "effects/EffBtnCar.h"
#include "platform/SettingsStore.h"

namespace {

// A ticker the test steps by hand; every fader of the screen gets one.
struct TManualTicker : ITicker {
    TTickHandler onTick;
    bool enabled = false;
    uint32_t ticks = 0;
    void SetEnabled(bool on) override {
        enabled = on;
        ticks = 0;
    }
};

QImage Solid(QRgb colour, int width = 40, int height = 20) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

const QRgb kNormal = qRgb(10, 10, 10), kHover = qRgb(200, 0, 0), kPressed = qRgb(0, 200, 0), kOnHover = qRgb(0, 0, 200),
           kOn = qRgb(200, 200, 0);

class SkinScreenTest : public ::testing::Test {
protected:
    // Lines as the interface description holds them (lower-cased).
    void Read(const std::string& text) {
        TDynamicStringArray lines;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        elements_ = ReadElements(lines, RWindowKeys{});
        RSkinHost host;
        host.loadPicture = [this](const std::string& name) {
            const auto it = pictures_.find(name);
            return it == pictures_.end() ? QImage() : it->second;
        };
        host.treesHidden = [this] { return treesHidden_; };
        host.tickers = [this](uint16_t, TTickHandler onTick) -> std::unique_ptr<ITicker> {
            auto ticker = std::make_unique<TManualTicker>();
            ticker->onTick = std::move(onTick);
            tickers_.push_back(ticker.get());
            return ticker;
        };
        screen_ = std::make_unique<TSkinScreen>(elements_, std::move(host));
        screen_->Build(0, true);
    }
    // Runs every running fade to its end.
    void FinishFades() {
        for (TManualTicker* t : tickers_)
            while (t->enabled) t->onTick(++t->ticks);
    }
    QRgb Shown(QPoint at) const {
        QImage face(200, 100, QImage::Format_RGB32);
        QPainter painter(&face);
        screen_->Paint(painter);
        painter.end();
        return face.pixel(at);
    }

    std::map<std::string, QImage> pictures_ = {
        {"back.bmp", Solid(qRgb(255, 255, 255), 200, 100)}, {"n.bmp", Solid(kNormal)},   {"h.bmp", Solid(kHover)},
        {"p.bmp", Solid(kPressed)},                          {"oh.bmp", Solid(kOnHover)}, {"on.bmp", Solid(kOn)}};
    bool treesHidden_ = false;
    TInterfaceDescription elements_;
    std::vector<TManualTicker*> tickers_;
    std::unique_ptr<TSkinScreen> screen_;
};

// Every screen's buttons begin with the window's own minimize and close buttons (here without
// pictures, so without an area).
constexpr size_t kFirst = 2;

const char kButton[] = "1_screen=back.bmp\n1button vx=10 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=p.bmp; go=html1=a.htm; wav=click.wav\n";
const char kSwitches[] =
    "1_screen=back.bmp\n"
    "1switchone vx=10 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; goup=offtree; godown=ontree; wav=s.wav\n"
    "1switchgrp vx=60 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; group=1; go=caseon; state=on\n"
    "1switchgrp vx=110 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; group=1; go=caseoff\n"
    "1switchgrp vx=60 vy=50 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; group=2; go=x; state=on\n";

} // namespace

TEST_F(SkinScreenTest, AClickSendsTheCommandOnReleaseAndAPressThatLeavesSendsNothing) {
    Read(kButton);
    // The border pixel is no part of the button: a press there drags the window.
    EXPECT_TRUE(screen_->PointerDown(QPoint(10, 15), false).drag);
    screen_->PointerMove(QPoint(20, 15));
    EXPECT_FALSE(screen_->PointerDown(QPoint(20, 15), false).drag);
    EXPECT_TRUE(screen_->ButtonPictures()[kFirst].pressed);
    screen_->PointerMove(QPoint(150, 80));  // out: the press is cancelled
    EXPECT_FALSE(screen_->ButtonPictures()[kFirst].pressed);
    EXPECT_TRUE(screen_->PointerUp(QPoint(20, 15)).empty());

    screen_->PointerMove(QPoint(20, 15));
    screen_->PointerDown(QPoint(20, 15), false);
    const auto commands = screen_->PointerUp(QPoint(20, 15));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].command, "html1=a.htm");
    EXPECT_EQ(commands[0].sound, "click.wav");
    EXPECT_EQ(commands[0].kind, ekButton);
    EXPECT_EQ(commands[0].index, int(kFirst));
}

TEST_F(SkinScreenTest, LooksFadeToTheHoverPictureAndBackWhileTheBackgroundKeepsTheFirst) {
    Read(kButton);
    EXPECT_EQ(screen_->Background().pixel(20, 15), kNormal);
    screen_->PointerMove(QPoint(20, 15));
    ASSERT_NE(screen_->ButtonPictures()[kFirst].fader, nullptr);
    EXPECT_TRUE(screen_->ButtonPictures()[kFirst].fader->Active());
    FinishFades();
    EXPECT_EQ(Shown(QPoint(20, 15)), kHover);
    screen_->PointerDown(QPoint(20, 15), false);
    FinishFades();
    EXPECT_EQ(Shown(QPoint(20, 15)), kPressed);
    screen_->PointerMove(QPoint(150, 80));
    FinishFades();
    EXPECT_EQ(Shown(QPoint(20, 15)), kNormal);
}

TEST_F(SkinScreenTest, AShiftPressFlipsASwitchSilentlyAndTheScreenReplaysItsNewState) {
    Read(kSwitches);
    const RSkinPress silent = screen_->PointerDown(QPoint(20, 15), true);
    EXPECT_FALSE(silent.command);
    EXPECT_FALSE(silent.drag);
    EXPECT_TRUE(elements_.ScreenSwitchesOne[0][0].state);
    std::vector<std::string> replayed;
    screen_->ReplaySwitches(true, [&](const RSkinCommand& c) { replayed.push_back(c.command); });
    // Single switches twice on a screen change, then the grouped switches that are on.
    EXPECT_EQ(replayed, (std::vector<std::string>{"ontree", "ontree", "caseon", "x"}));
    const RSkinPress click = screen_->PointerDown(QPoint(20, 15), false);
    ASSERT_TRUE(click.command);
    EXPECT_EQ(click.command->command, "offtree");
    EXPECT_EQ(click.command->sound, "s.wav");
    EXPECT_EQ(click.command->kind, ekSwitchOne);
}

TEST_F(SkinScreenTest, AGroupedSwitchPutsOutOnlyItsOwnGroupAndAnOnSwitchSendsNothing) {
    Read(kSwitches);
    const auto& groups = elements_.ScreenSwitchesGrp[0];
    EXPECT_FALSE(screen_->PointerDown(QPoint(70, 15), false).command);  // already on
    const RSkinPress press = screen_->PointerDown(QPoint(120, 15), false);
    ASSERT_TRUE(press.command);
    EXPECT_EQ(press.command->command, "caseoff");
    EXPECT_EQ(press.command->index, 1);
    EXPECT_EQ(press.command->kind, ekSwitchGrp);
    EXPECT_FALSE(groups[0].state);
    EXPECT_TRUE(groups[1].state);
    EXPECT_TRUE(groups[2].state);  // another group
    EXPECT_EQ(Shown(QPoint(70, 15)), kNormal);
    EXPECT_EQ(Shown(QPoint(120, 15)), kOnHover);  // straight away: grouped switches never fade
}

TEST_F(SkinScreenTest, WithBothTreesHiddenASecondTreeSwitchStopsThePointerForEverythingAfterIt) {
    Read("1_screen=back.bmp\n"
         "1switchone vx=10 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; goup=tree2; godown=x\n"
         "1switchgrp vx=10 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=oh.bmp; fn4=on.bmp; group=1; go=y\n");
    treesHidden_ = true;
    screen_->PointerMove(QPoint(20, 15));
    EXPECT_FALSE(elements_.ScreenSwitchesOne[0][0].hover);
    EXPECT_FALSE(elements_.ScreenSwitchesGrp[0][0].hover);
    const RSkinPress press = screen_->PointerDown(QPoint(20, 15), false);
    EXPECT_FALSE(press.command);
    EXPECT_FALSE(press.drag);
    EXPECT_FALSE(elements_.ScreenSwitchesGrp[0][0].state);
    treesHidden_ = false;
    screen_->PointerMove(QPoint(20, 15));
    EXPECT_TRUE(elements_.ScreenSwitchesOne[0][0].hover);
}

TEST_F(SkinScreenTest, AScreenSwitchReusesRecordsAndKeepsPicturesTheBundleLacks) {
    Read("1_screen=back.bmp\n2_screen=back.bmp\n"
         "1button vx=10 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=p.bmp; go=2\n"
         "1button vx=60 vy=10 fn1=n.bmp; fn2=h.bmp; fn3=p.bmp; go=3\n"
         "2button vx=10 vy=50 fn1=on.bmp; fn2=gone.bmp; fn3=p.bmp; go=1\n");
    ASSERT_EQ(screen_->ButtonPictures().size(), kFirst + 2);
    screen_->PointerMove(QPoint(20, 15));
    screen_->ForgetPointer(ekButton, int(kFirst), true);  // the button that sent the screen command
    screen_->Build(1, false);
    EXPECT_EQ(screen_->Current(), 1);
    ASSERT_EQ(screen_->ButtonPictures().size(), kFirst + 1);
    EXPECT_FALSE(screen_->ButtonPictures()[kFirst].hover);
    EXPECT_EQ(screen_->ButtonPictures()[kFirst].pictures[1].pixel(0, 0), kHover);  // fn2 is missing: the slot keeps its picture
    EXPECT_EQ(screen_->Background().pixel(20, 55), kOn);
    screen_->PointerMove(QPoint(20, 55));
    FinishFades();
    EXPECT_EQ(Shown(QPoint(20, 55)), kHover);
}

TEST(SkinSwitchStates, AreStoredPerScreenAndIndexOnlyWhereStoreIsOn) {
    const std::string title = "skin states " + std::to_string(::getpid());
    auto describe = [] {
        return ReadElements({"1switchone vx=1 vy=1 fn1=a; store=on", "1switchone vx=1 vy=1 fn1=a;",
                             "2switchgrp vx=1 vy=1 fn1=a; store=on; state=on; group=1"},
                            RWindowKeys{});
    };
    {
        TInterfaceDescription first = describe();
        TSkinScreen screen(first, RSkinHost{});
        first.ScreenSwitchesOne[0][0].state = first.ScreenSwitchesOne[0][1].state = true;
        first.ScreenSwitchesGrp[1][0].state = false;
        screen.WriteSwitchStates(title);
    }
    TInterfaceDescription again = describe();
    TSkinScreen screen(again, RSkinHost{});
    screen.ReadSwitchStates(title);
    EXPECT_TRUE(again.ScreenSwitchesOne[0][0].state);
    EXPECT_FALSE(again.ScreenSwitchesOne[0][1].state);  // not stored
    EXPECT_FALSE(again.ScreenSwitchesGrp[1][0].state);
    bool stored = true;
    EXPECT_TRUE(TSettingsStore(title).ReadBool("SwGrp10", stored));
    EXPECT_FALSE(stored);
    TSettingsStore settings(title);
    settings.DeleteValue("SwOne00");
    settings.DeleteValue("SwGrp10");
}
