// report_painter.h -- draws the page for the eye doctor with QPainter, into a PDF file or onto a printer.
#pragma once
#include <QImage>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

namespace vision {
struct Document;
}

namespace editor {

// What the page shows besides the document itself.
struct ReportExtras {
    // The stills of the simulation: [0] the right eye, [1] the left eye (the
    // order of ReportContent::eyes); a null image leaves its box empty.
    QImage stills[2];
    QString date;  // as the reader writes dates
};

// The vision file the stills take their scenes from ("" none) and the
// folder of the default vision file, for both eyes' stills.
ReportExtras report_extras(const vision::Document& doc, const QString& vision_path);

// A4, or Letter where the locale measures in inches and feet.
QPageSize report_page_size();

// Draws the page on `device` (already set to the page size with no margins,
// origin at the page's corner). Returns false when no painter can be begun.
bool paint_report(QPagedPaintDevice& device, const vision::Document& doc, const ReportExtras& extras);

// Writes the page as a one-page PDF at `path`: into a temporary file beside
// it, renamed over it only when complete, so a failure leaves no file or
// the previous one. Returns "" or the message naming the file and reason.
QString write_report_pdf(const QString& path, const vision::Document& doc, const ReportExtras& extras);

}  // namespace editor
