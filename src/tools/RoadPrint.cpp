#include "tools/RoadPrint.h"

#include "toolkit/DisplayText.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace qm {

namespace {
constexpr int kLeft = 100;
constexpr int kTop = 30;
}  // namespace

bool PrintRoadPlan(QPrinter &printer, const std::array<std::string, 2> &headings, const std::vector<RoadRow> &rows,
                   const QFont &listFont) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    int y = kTop;
    // Writes one line with its top at y and returns its text height.
    auto line = [&](const QString &text) {
        const QFontMetrics fm = painter.fontMetrics();
        if (y > kTop && y + fm.height() > pageHeight) {
            printer.newPage();
            y = kTop;
        }
        painter.drawText(kLeft, y + fm.ascent(), text);
        return fm.height();
    };
    painter.setFont(QFont("Arial", 14));
    y += line(DisplayText(headings[0])) + 5;
    y += line(DisplayText(headings[1])) + 30;
    painter.setFont(listFont);
    for (const auto &r : rows) {
        const bool empty = r.step.empty() && r.distance.empty();
        y += line(empty ? QString() : DisplayText(r.step + " : " + r.distance)) + 3;
    }
    return painter.end();
}

bool PrintRoadPlanToPdf(const std::string &path, const std::array<std::string, 2> &headings,
                        const std::vector<RoadRow> &rows, const QFont &listFont) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    if (!PrintRoadPlan(printer, headings, rows, listFont)) return false;
    return QFileInfo(QString::fromStdString(path)).size() > 0;
}

}  // namespace qm
