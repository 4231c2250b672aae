// The message dialog's description: element kinds, pages, keys over several lines, and elements
// whose keys never come.
#include <gtest/gtest.h>

#include "rules/DialogReader.h"

TEST(DialogReader, KindsPagesAndKeysInTheirOrder) {
    const auto d = ReadDialogDescription({
        "2_picture=find.bmp",
        "1_picture=msg.bmp; 1_text is still the picture line",
        "1_text vx=20 vy=30 vw=200 font=arial; size=10; style=bold; color=255,0,0; value=x",
        "1_button vx=5 vy=60 align=middle; fn1=a1.bmp; fn2=a2.bmp; fn3=a3.bmp; go=yes; hint=Yes; wav=click.wav",
        "2switchgrp vx=7 vy=8 fn1=s1.bmp; fn2=s2.bmp; fn3=s3.bmp; fn4=s4.bmp; state=on; store=on; group=3;",
        "   go=findtxtall; hint=All; wav=no",
        "2_button vx=1 vy=2 align=left; fn1=b.bmp; fn2=b.bmp; fn3=b.bmp; go=findnext1; hint=; wav=",
    });
    ASSERT_EQ(d.pages.size(), 2u);
    EXPECT_EQ(d.pages[0].picture, "msg.bmp");
    EXPECT_EQ(d.pages[1].picture, "find.bmp");
    const RText& t = d.pages[0].text;
    EXPECT_EQ(t.left, 20);
    EXPECT_EQ(t.right, 200);
    EXPECT_EQ(t.font, "arial");
    EXPECT_EQ(t.color, 255u);
    ASSERT_EQ(d.pages[0].buttons.size(), 1u);
    EXPECT_EQ(d.pages[0].buttons[0].runText, "middle");
    EXPECT_EQ(d.pages[0].buttons[0].command, "yes");
    EXPECT_EQ(d.pages[0].buttons[0].sound, "click.wav");
    ASSERT_EQ(d.pages[1].switches.size(), 1u);  // its last keys stood on the next line
    const RSwthGrp& s = d.pages[1].switches[0];
    EXPECT_TRUE(s.state);
    EXPECT_TRUE(s.store);
    EXPECT_EQ(s.group, 3);
    EXPECT_EQ(s.command, "findtxtall");
    ASSERT_EQ(d.pages[1].buttons.size(), 1u);  // the continuation line was no element of its own
    EXPECT_EQ(d.pages[1].buttons[0].command, "findnext1");
}

// "go" is found wherever it first stands, even inside a picture name.
TEST(DialogReader, AKeyMatchesInsideAnEarlierValue) {
    const auto d = ReadDialogDescription({
        "1_button vx=1 vy=2 align=left; fn1=logo.bmp; fn2=b; fn3=c; go=ok; hint=h; wav=w",
    });
    ASSERT_EQ(d.pages.size(), 1u);
    EXPECT_EQ(d.pages[0].buttons[0].command, "bmp");  // the "." after "go" stands where "=" would
}

// A button whose "wav" never comes would swallow the rest of the file: it is dropped alone and
// the lines after it are read. Pages beyond the bound are read past.
TEST(DialogReader, AnElementMissingAKeyIsDroppedAndReadingGoesOn) {
    const auto d = ReadDialogDescription({
        "1_button vx=1 vy=2 align=left; fn1=a; fn2=b; fn3=c; go=ok; hint=h",
        "1_picture=msg.bmp",
        "1_text vx=1 vy=2 vw=3 font=f; size=1; style=s; color=1,2,3; value=v",
        "999999_button vx=1 vy=2 align=left; fn1=a; fn2=b; fn3=c; go=ok; hint=h; wav=w",
        "-3_button vx=1 vy=2 align=left; fn1=a; fn2=b; fn3=c; go=ok; hint=h; wav=w",
        "1_button vx=9 vy=2 align=left; fn1=a; fn2=b; fn3=c; go=no; hint=h; wav=w",
    });
    ASSERT_EQ(d.pages.size(), 1u);
    EXPECT_EQ(d.pages[0].picture, "msg.bmp");
    EXPECT_EQ(d.pages[0].text.right, 3);
    ASSERT_EQ(d.pages[0].buttons.size(), 1u);
    EXPECT_EQ(d.pages[0].buttons[0].left, 9);
}
