#pragma once
// The application object. Every exception that reaches the event loop is dropped without a
// message and without ending the program: optional features fail quietly.
#include <QApplication>

class TGlobalExHandler {
public:
    void Handle(const std::exception*) {}
};

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    TGlobalExHandler handler_;
};
