#include "gui/printing/print_preview.h"

#include "core/store/errors.h"
#include "gui/widgets/qt_text.h"

#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace brevio {

void PrintPreview::preview(QWidget* parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_title);
    m_report.applyPageSetup(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(m_title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) { m_report.render(*target); });
    dialog.exec();
}

int PrintPreview::writePdf(const QString& path) const
{
    QPdfWriter writer(path);
    writer.setTitle(m_title);
    writer.setCreator(QStringLiteral("Brevio"));
    m_report.applyPageSetup(writer);
    const int pages = m_report.render(writer);
    if (pages == 0)
        throw IoError(5, toData(path));
    return pages;
}

} // namespace brevio
