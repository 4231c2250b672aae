// The slide show over picture files the test writes: the order of the lists, stepping and
// wrapping, the timer that runs only while its area shows, and pictures that cannot be read.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdlib>

#include "base/GlobalPaths.h"
#include "media/JpegPicture.h"
#include "media/SlideImage.h"
#include "platform/hostpaths/Drives.h"

namespace {

struct Slides : ::testing::Test {
    QTemporaryDir dir;
    QWidget window;
    int screen = 1;

    void SetUp() override {
        HostPathsService().SetDrive('d', dir.path().toStdString());
        HostPathsService().SetCurrentDirectory("d:\\");
        QDir(dir.path()).mkdir("pics");
        // Written out of order: the folder's listing gives each mask's files in name order.
        const std::pair<const char*, const char*> files[] = {
            {"c.bmp", "BMP"}, {"a.bmp", "BMP"}, {"b.BMP", "BMP"}, {"e.jpg", "JPG"}, {"d.jpg", "JPG"}};
        for (int i = 0; i < 5; ++i) Write(files[i].first, QColor::fromHsv(i * 60, 200, 200), files[i].second);
    }
    void Write(const char* name, const QColor& colour, const char* format) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(dir.filePath(QString("pics/") + name), format));
    }
    std::unique_ptr<TSlideImage> Make(RSlideSettings settings = {}) {
        return std::make_unique<TSlideImage>(&window, std::vector<RImage>{{10, 10, 110, 90, "pics\\", 1}}, settings,
                                             [this] { return screen; }, nullptr);
    }
    static std::string Name(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
};

}  // namespace

TEST_F(Slides, BitmapsComeFirstThenJpegsAndTheStepsWrapAround) {
    const auto slides = Make();
    std::vector<std::string> names;
    for (const std::string& file : slides->Files(0)) names.push_back(Name(file));
    EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "b.BMP", "c.bmp", "d.jpg", "e.jpg"}));
    EXPECT_TRUE(slides->AreaShown(0));
    EXPECT_EQ(slides->Picture(0).pixel(5, 5), QColor::fromHsv(60, 200, 200).rgb());  // a.bmp
    slides->PreviousPicture();  // from the first: the last
    EXPECT_EQ(slides->PictureIndex(), 4u);
    EXPECT_FALSE(slides->Picture(0).isNull());
    slides->NextPicture();
    EXPECT_EQ(slides->PictureIndex(), 0u);
}

TEST_F(Slides, AnUnreadablePictureKeepsTheOneBefore) {
    QFile broken(dir.filePath("pics/b.BMP"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("BM not a picture");
    broken.close();
    const auto slides = Make();
    const QImage first = slides->Picture(0);
    slides->NextPicture();
    EXPECT_EQ(slides->PictureIndex(), 1u);
    EXPECT_EQ(slides->Picture(0), first);
}

TEST_F(Slides, TheSlideShowRunsOnlyWhileItsAreaShows) {
    const auto slides = Make({true, 0, 2});
    EXPECT_TRUE(slides->Running());
    EXPECT_GE(slides->Interval(), 1000);  // no busy timer for a time of 0
    slides->SlideTick();  // at random, within the list
    EXPECT_LT(slides->PictureIndex(), 5u);
    screen = 2;
    slides->ShowSlides();
    EXPECT_FALSE(slides->Running());
    EXPECT_FALSE(slides->AreaShown(0));
    screen = 1;
    slides->ShowSlides();
    EXPECT_TRUE(slides->Running());
    slides->SetSlideShowTime(3);
    EXPECT_EQ(slides->Interval(), 3001);
    slides->SetRunSlideShow(false);
    EXPECT_FALSE(slides->Running());
}

TEST_F(Slides, AnEmptyFolderShowsNothingAndStepsNowhere) {
    QWidget other;
    TSlideImage slides(&other, {{0, 0, 10, 10, "empty\\", 1}}, {true, 5, 2}, [] { return 1; }, nullptr);
    slides.SlideTick();
    slides.NextPicture();
    slides.PreviousPicture();
    EXPECT_TRUE(slides.Picture(0).isNull());
}

TEST(Jpeg, DecodesWhatIsThereAndRefusesWhatIsNot) {
    QTemporaryDir dir;
    QImage picture(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) picture.setPixel(x, y, qRgb(200, (x * 7 + y * 13) % 256, (x * y) % 256));
    const QString whole = dir.filePath("whole.jpg");
    ASSERT_TRUE(picture.save(whole, "JPG"));
    const QImage decoded = DecodeJpeg(whole.toStdString());
    ASSERT_EQ(decoded.size(), QSize(200, 150));
    long difference = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) difference += std::abs(qGreen(decoded.pixel(x, y)) - qGreen(picture.pixel(x, y)));
    EXPECT_LT(difference / (200 * 150), 12);  // the colours are the picture's, within the JPEG's loss
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString cut = dir.filePath("cut.jpg"), junk = dir.filePath("junk.jpg");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 2));
    out.close();
    EXPECT_EQ(DecodeJpeg(cut.toStdString()).size(), QSize(200, 150));  // a truncated file: what was there
    QFile bad(junk);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(300, 'j'));
    bad.close();
    EXPECT_TRUE(DecodeJpeg(junk.toStdString()).isNull());
    EXPECT_TRUE(DecodeJpeg(dir.filePath("none.jpg").toStdString()).isNull());
}
