#pragma once

// What a screen reader calls the controls that show no caption of their own, in the interface
// language: the text at `id`, with the text at `argument` put in for "%1" where one is given.
// Controls with a caption are named by it (setCaption), spin boxes and edit fields by the label
// they are the buddy of.

#include "core/texts/text_ids.h"

#include <optional>
#include <string_view>

namespace brevio {

struct AccessibleNameEntry
{
    TextId id;
    std::string_view control;
    std::optional<TextId> argument = std::nullopt;
};

inline constexpr AccessibleNameEntry kAccessibleNames[] = {
    {TextId::WeekSelectorName, "FlatComboBox1"},
    {TextId::ChannelListName, "TextListBox1"},
    // The day panes by their weekday, the list panes as that day's selected shows.
    {TextId::Monday, "RichEdit2"},
    {TextId::Tuesday, "RichEdit3"},
    {TextId::Wednesday, "RichEdit4"},
    {TextId::Thursday, "RichEdit5"},
    {TextId::Friday, "RichEdit6"},
    {TextId::Saturday, "RichEdit7"},
    {TextId::Sunday, "RichEdit8"},
    {TextId::SelectedListName, "RichEdit9", TextId::Monday},
    {TextId::SelectedListName, "RichEdit10", TextId::Tuesday},
    {TextId::SelectedListName, "RichEdit11", TextId::Wednesday},
    {TextId::SelectedListName, "RichEdit12", TextId::Thursday},
    {TextId::SelectedListName, "RichEdit13", TextId::Friday},
    {TextId::SelectedListName, "RichEdit14", TextId::Saturday},
    {TextId::SelectedListName, "RichEdit15", TextId::Sunday},
    {TextId::NextMondayListName, "RichEdit16"},
    {TextId::NowPaneName, "RichEdit17"},
    {TextId::ProgressName, "FlatMemo1"},
    {TextId::ChannelsToDownloadName, "CheckListBox2"},
    {TextId::ConnectionStateName, "Panel7"},
    {TextId::WeekChannelsName, "ListBox1"},
    {TextId::DownloadedWeeksName, "ListBox2"},
    {TextId::ChannelsToPrintName, "CheckListBox1"},
    {TextId::CityName, "FlatComboBox2"},
    {TextId::ConnectionStateName, "Panel11"},
    {TextId::NewsPaneName, "RxRichEdit2"},
    {TextId::SourcePageName, "WebBrowser3"},
    {TextId::ProgramToStartName, "FilenameEdit2"},
    {TextId::SoundFileName, "FilenameEdit1"},
};

} // namespace brevio
