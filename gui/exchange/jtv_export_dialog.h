#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QListWidget;

namespace brevio {

// "Экспорт в JTV": the channels of the shown week to tick for export; "Экспорт" hands the
// ticked ones to the exporter it was given.
class JtvExportDialog : public QDialog
{
    Q_OBJECT

public:
    // The rows of the ticked channels (a row is the channel's line in the week's channel list).
    using Exporter = std::function<void(const std::vector<int>& rows)>;

    // `channels`: the channels of the printing page's checklist, offered unticked.
    JtvExportDialog(const QStringList& channels, QWidget* parent = nullptr);

    void setExporter(Exporter exporter) { m_exporter = std::move(exporter); }

    // "Экспорт": hands the ticked rows to the exporter.
    void exportTicked();

    QListWidget* channelList() const { return m_list; }

private:
    void fillChannels(const QStringList& channels);

    QListWidget* m_list = nullptr;
    Exporter m_exporter;
};

} // namespace brevio
