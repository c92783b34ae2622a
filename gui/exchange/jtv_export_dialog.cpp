#include "gui/exchange/jtv_export_dialog.h"

#include "gui/widgets/form_builder.h"

#include <QListWidget>
#include <QToolButton>

namespace brevio {

JtvExportDialog::JtvExportDialog(const QStringList& channels, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Экспорт"));
    setFixedSize(297, 304);
    move(281, 151);
    m_list = makeControl<QListWidget>(this, "CheckListBox1", {8, 8, 281, 265});
    m_list->setAccessibleName(QStringLiteral("Каналы для экспорта"));
    auto* exportButton
        = makeSpeedButton(this, "FlatSpeedButton1", QStringLiteral("Экспорт"), {8, 280, 137, 17});
    auto* closeButton
        = makeSpeedButton(this, "FlatSpeedButton2", QStringLiteral("Закрыть"), {152, 280, 137, 17});
    connect(exportButton, &QToolButton::clicked, this, [this] { exportTicked(); });
    connect(closeButton, &QToolButton::clicked, this, &QDialog::close);
    fillChannels(channels);
}

void JtvExportDialog::fillChannels(const QStringList& channels)
{
    for (const QString& channel : channels) {
        // Made whole before it joins the list, which would otherwise search all its rows per change.
        auto* item = new QListWidgetItem(channel);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_list->addItem(item);
    }
    setWindowTitle(QStringLiteral("Экспорт в JTV"));
}

void JtvExportDialog::exportTicked()
{
    std::vector<int> rows;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            rows.push_back(i);
    if (m_exporter)
        m_exporter(rows);
}

} // namespace brevio
