#pragma once

#include <QDialog>

class QListWidget;

namespace brevio {

// "Экспорт в JTV": the channels of the shown week to tick for export. The export itself
// belongs to an outside converter that this program does not load, so "Экспорт" does nothing.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    // `channels`: the main window's channel check list, copied unticked.
    TForm3(const QListWidget* channels, QWidget* parent = nullptr);

    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();

    QListWidget* channelList() const { return m_list; }

private:
    void FormCreate(const QListWidget* channels);

    QListWidget* m_list = nullptr;
};

} // namespace brevio
