// Printing with no printer at all (the print server cannot be reached): the skinned dialog's
// second page, or the warning box when there is no skinned dialog; no preview either way.
#include <gtest/gtest.h>

#include "PrintFrameFixture.h"

// This program's print client asks a print server that is not there, before anything prints.
static const bool kNoPrintServer = qputenv("CUPS_SERVER", "/nonexistent/bookshell-no-print-server");

TEST_F(PrintFrame, NoPrinterIsToldOnTheDialogsSecondPageOrInABox) {
    EXPECT_FALSE(frame_->PrintFile(kShortPage));
    EXPECT_EQ(host_.messagePages, std::vector<int>{2});
    host_.skinnedDialog = false;
    QString told;
    CloseNextWarning(told);
    frame_->PrintPage(kShortPage);
    EXPECT_EQ(told, QString::fromUtf8("Не найдено установленных принтеров!"));
}
