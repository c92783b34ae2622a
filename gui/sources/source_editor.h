#pragma once

#include "core/sources/listing_source.h"

#include <QDialog>

#include <cstddef>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace brevio {

class ListingOptionsForm;
class PageHost;

// One listing source, new or as stored: its name, address, switch and interval, how its listing
// is read (time zone, day start, languages), and the channels it keeps: a checklist of every
// channel its listings gave (the ones not kept yet unticked, those that appeared later among
// them), with a filter and all / none for the channels shown; a channel that a source higher in
// the list gives already says which. OK refuses an address that is no source's or another
// source's.
class SourceEditor : public QDialog
{
    Q_OBJECT

public:
    // The source at `index` of `sources` (the list as stored), or a new one when `index` is the
    // list's size.
    SourceEditor(PageHost& host, const std::vector<sources::ListingSource>& sources, std::size_t index,
                 QWidget* parent);

    // The source as the user has set it.
    sources::ListingSource edited() const;

    void accept() override;
    // Ticks or unticks the channels the filter shows.
    void tickShown(bool ticked);
    void filterChannels();

    QLineEdit* nameField() const { return m_name; }
    QLineEdit* addressField() const { return m_address; }
    QCheckBox* enabledBox() const { return m_enabled; }
    QSpinBox* intervalHours() const { return m_interval; }
    ListingOptionsForm* listingOptions() const { return m_options; }
    QCheckBox* keepLaterBox() const { return m_keepLater; }
    QLineEdit* filterField() const { return m_filter; }
    QListWidget* channelList() const { return m_channels; }
    QPushButton* allButton() const { return m_all; }
    QPushButton* noneButton() const { return m_none; }

private:
    QLayout* buildFields();
    void fillChannels(const std::vector<sources::ListingSource>& sources, std::size_t index);
    void retranslate();

    PageHost& m_host;
    sources::ListingSource m_source;
    // The other sources' addresses and names: an address belongs to one source only.
    std::vector<std::string> m_otherAddresses;
    std::vector<std::string> m_otherNames;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_addressLabel = nullptr;
    QLabel* m_intervalLabel = nullptr;
    QLabel* m_channelsLabel = nullptr;
    QLabel* m_filterLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_address = nullptr;
    QCheckBox* m_enabled = nullptr;
    QSpinBox* m_interval = nullptr;
    ListingOptionsForm* m_options = nullptr;
    QCheckBox* m_keepLater = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_none = nullptr;
    QListWidget* m_channels = nullptr;
};

} // namespace brevio
