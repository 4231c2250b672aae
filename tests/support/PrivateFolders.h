#pragma once
// Test programs run against private runtime, configuration and data folders, so instance locks,
// window entries and stored settings never meet a developer's running books. Call before the
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
