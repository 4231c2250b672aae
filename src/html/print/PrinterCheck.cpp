#include "html/print/PrinterCheck.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int kNoPrinterPage = 2, kPrinterOffPage = 3;

void Warn(QWidget* parent, const char* text) {
    QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(), QString::fromUtf8(text));
}

}  // namespace

RPrinterCheck CheckPrinter() {
    RPrinterCheck check;
    check.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    if (QPrinterInfo::availablePrinterNames().isEmpty()) return check;
    check.state = EPrinterState::kUnusable;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.state() == QPrinter::Error) return check;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return check;
    check.state = EPrinterState::kReady;
    check.layout = printer.pageLayout();
    check.dotsPerInch = printer.resolution();
    return check;
}

void ShowPrinterMessage(EPrinterState state, const std::function<bool(int)>& showPage, QWidget* parent) {
    if (state == EPrinterState::kReady) return;
    const bool none = state == EPrinterState::kNone;
    if (showPage && showPage(none ? kNoPrinterPage : kPrinterOffPage)) return;
    Warn(parent, none ? "Не найдено установленных принтеров!" : "Принтер, установленный по умолчанию, сейчас не доступен!");
}

void ShowPrinterUnavailable(QWidget* parent) { Warn(parent, "Принтер не доступен!"); }
