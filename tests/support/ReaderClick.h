#pragma once
// A reader's click on an element of a page, given to the browser as a mouse gives it, so the page
// sees a trusted event: what a script's click() can never stand in for.
#include <QString>

class TFrameViewer;

// element: a script expression for the element, in the viewer's world of the main frame; it may
// reach into frames ("frames[1].document.querySelector('a')"). The element is scrolled into
// view and clicked at its middle. False when it is not there or the page does not answer.
bool ReaderClick(TFrameViewer& viewer, const QString& element);
// A press at the element's left end, a drag across it and the release at its right end: the
// reader selects its text (the first line of it).
bool ReaderDragAcross(TFrameViewer& viewer, const QString& element);
