#pragma once
// TPrintFrameViewer: the hidden page view a page is printed from. It loads one file through the
// program's page engine, keeps no history and no visited links, shows pictures and draws links
// without underline, and lays its page out on printer pages as a PDF. Window thread only.
#include <QByteArray>
#include <QSize>
#include <functional>
#include <memory>
#include <string>

class QPageLayout;
class TFrameViewer;

class TPrintFrameViewer {
public:
    TPrintFrameViewer();
    ~TPrintFrameViewer();

    // The default text attributes of another view, so the page prints as it shows there.
    void CopyDefaults(const TFrameViewer& from);
    // Loads a file and waits for it; false when it is missing or did not load in time.
    bool Load(const std::string& file);
    bool HasDocument() const { return loaded_; }
    // A picture shown alone (the file is a picture): its size in pixels, else an empty size.
    QSize PictureSize();
    // Lays the page out at a print scale on pages of layout, table backgrounds printed or not;
    // done gets the PDF, empty when the engine failed. Asynchronous.
    void Paginate(const QPageLayout& layout, double scale, bool backgrounds, std::function<void(const QByteArray&)> done);

private:
    void WaitForEarlierPdf();

    std::unique_ptr<TFrameViewer> view_;
    bool loaded_ = false;
    std::shared_ptr<bool> printing_ = std::make_shared<bool>(false);  // a PDF is being made
};
