#pragma once
// Test programs run against private runtime, configuration, data, cache and temporary folders,
// so instance locks, window entries, stored settings and archive listings never meet a
// developer's running books or another test program's. Call before the
// application object exists; the folders go when the object does.
#include <QString>

class TPrivateFolders {
public:
    explicit TPrivateFolders(const char* stem);
    ~TPrivateFolders();
    const QString& Root() const { return root_; }

private:
    QString root_;
};
