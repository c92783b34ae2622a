#pragma once

#include "gui/printing/column_report.h"

#include <QString>

class QWidget;

namespace brevio {

// The print form: the column report of one print and its preview. It lives only while a
// print is being made.
class PrintPreview
{
public:
    // The caption of the preview window.
    void setReportTitle(const QString& title) { m_title = title; }
    const QString& reportTitle() const { return m_title; }
    ColumnReport& report() { return m_report; }
    const ColumnReport& report() const { return m_report; }

    // Shows the pages in the print preview, from which the user prints; returns when the
    // preview is closed.
    void preview(QWidget* parent) const;
    // Writes the pages to a PDF file; returns the page count. Throws IoError when the file
    // cannot be written.
    int writePdf(const QString& path) const;

private:
    QString m_title;
    ColumnReport m_report;
};

} // namespace brevio
