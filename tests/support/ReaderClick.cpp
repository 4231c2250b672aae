#include "support/ReaderClick.h"

#include <QTest>
#include <QWebEngineView>

#include "html/engine/FrameViewer.h"
#include "support/Wait.h"

namespace {

// The element's middle in the viewer, frames' offsets added, or null when it is not there.
QString MiddleScript(const QString& element) {
    return QStringLiteral(R"((function() {
  var e = %1;
  if (!e) return null;
  var at = e;
  // An area of an image map has no box of its own: its middle lies on its picture.
  if (e.tagName === 'AREA') {
    at = e.ownerDocument.querySelector('img[usemap="#' + e.parentElement.name + '"]');
    if (!at) return null;
  }
  at.scrollIntoView({block: 'center', inline: 'center'});
  // A link that wraps is clicked on its first line, where its text is.
  var lines = at.getClientRects(), r = lines.length ? lines[0] : at.getBoundingClientRect();
  var x = r.left + r.width / 2, y = r.top + r.height / 2;
  if (e !== at) {
    var c = e.coords.split(',').map(Number), n = e.shape === 'circle' ? 1 : c.length / 2, sx = 0, sy = 0;
    for (var i = 0; i < n; i++) { sx += c[2 * i]; sy += c[2 * i + 1]; }
    if (e.shape === 'rect') { sx = (c[0] + c[2]) / 2; sy = (c[1] + c[3]) / 2; n = 1; }
    x = r.left + sx / n;
    y = r.top + sy / n;
  }
  for (var w = e.ownerDocument.defaultView; w !== w.top; w = w.parent) {
    var f = w.frameElement.getBoundingClientRect();
    x += f.left;
    y += f.top;
  }
  return [Math.round(x), Math.round(y)];
})())")
        .arg(element);
}


// The rendering surface and the element's middle on it; no surface when the element is not there.
QWidget* ElementMiddle(TFrameViewer& viewer, const QString& element, QPoint& at) {
    QVariant middle;
    WaitUntil([&] {
        middle = viewer.EvaluateScript(MiddleScript(element));
        return middle.isValid();
    }, 5000);
    const QVariantList xy = middle.toList();
    auto* browser = viewer.findChild<QWebEngineView*>();
    QWidget* surface = browser ? browser->focusProxy() : nullptr;
    if (xy.size() != 2 || !surface) return nullptr;
    at = surface->mapFrom(&viewer, QPoint(xy[0].toInt(), xy[1].toInt()));
    QTest::mouseMove(surface, at);
    return surface;
}

} // namespace

bool ReaderClick(TFrameViewer& viewer, const QString& element) {
    QPoint at;
    QWidget* surface = ElementMiddle(viewer, element, at);
    if (!surface) return false;
    QTest::mouseClick(surface, Qt::LeftButton, {}, at);
    return true;
}

bool ReaderDragAcross(TFrameViewer& viewer, const QString& element) {
    QPoint at;
    QWidget* surface = ElementMiddle(viewer, element, at);
    const QVariant width = viewer.EvaluateScript(QStringLiteral("(function() { var e = %1; return e ? e.getClientRects()[0].width : 0; })()").arg(element));
    const int half = int(width.toDouble() * viewer.findChild<QWebEngineView*>()->zoomFactor() / 2) - 1;
    if (!surface || half <= 0) return false;
    QTest::mousePress(surface, Qt::LeftButton, {}, at - QPoint(half, 0));
    for (int x = -half; x <= half; x += 4) QTest::mouseMove(surface, at + QPoint(x, 0), 10);
    QTest::mouseMove(surface, at + QPoint(half, 0), 10);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at + QPoint(half, 0), 10);
    return true;
}
