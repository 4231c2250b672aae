#pragma once
// TReadAhead: reads the parts of a media file that opening it needs (its head, and its tail where
// the indexes of AVI and MP4 files sit) on a thread of its own, so a slow disc holds a reader
// thread and not the window; the open that follows finds them in the system's file cache. Ready
// comes from the event loop, unless a later Start or a Cancel came first. Window thread only.
#include <QObject>
#include <QString>

#include <functional>
#include <string>

class TReadAhead : public QObject {
public:
    using QObject::QObject;
    void Start(const std::string& hostPath, std::function<void()> ready);
    void Cancel() { ++ticket_; }

    // The reader thread's part: reads the head and the tail of the file and drops them.
    static void ReadFileAhead(const QString& path);

private:
    unsigned ticket_ = 0;
};
