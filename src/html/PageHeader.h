#pragma once
// The header of a printed page: "Страница N" in Arial 8, right-aligned so that it ends at
// (page width − 50, 40), on a transparent background. Nothing for a view without a document.
class QPainter;

void PaintPageHeader(QPainter& painter, int page, int pageWidth, bool hasDocument);
