#pragma once

// Which control shows which interface text, in the order the captions are applied.

#include "core/texts/text_ids.h"

#include <string_view>

namespace brevio {

struct CaptionEntry
{
    TextId id;
    std::string_view control;
};

inline constexpr CaptionEntry kCaptionTable[] = {
    {TextId::ViewingPage, "FlatSpeedButton11"},
    {TextId::RetrievalPage, "FlatSpeedButton12"},
    {TextId::SettingsPage, "FlatSpeedButton13"},
    {TextId::PrintingPage, "FlatSpeedButton14"},
    {TextId::CheckForNewWeek, "FlatSpeedButton19"},
    {TextId::DownloadTicked, "FlatSpeedButton20"},
    {TextId::AbortTransfer, "FlatSpeedButton27"},
    {TextId::ListingSourcesItem, "ListingSourcesButton"},
    {TextId::PrintSelectedShows, "FlatSpeedButton15"},
    {TextId::PrintAllChannels, "FlatSpeedButton16"},
    {TextId::PrintByDays, "FlatSpeedButton17"},
    {TextId::PrintByChannels, "FlatSpeedButton18"},
    {TextId::Monday, "FlatCheckBox1"},
    {TextId::Tuesday, "FlatCheckBox2"},
    {TextId::Wednesday, "FlatCheckBox3"},
    {TextId::Thursday, "FlatCheckBox4"},
    {TextId::Friday, "FlatCheckBox5"},
    {TextId::Saturday, "FlatCheckBox6"},
    {TextId::Sunday, "FlatCheckBox7"},
    {TextId::Print, "FlatButton1"},
    {TextId::MondayShort, "FlatSpeedButton1"},
    {TextId::TuesdayShort, "FlatSpeedButton2"},
    {TextId::WednesdayShort, "FlatSpeedButton3"},
    {TextId::ThursdayShort, "FlatSpeedButton4"},
    {TextId::FridayShort, "FlatSpeedButton5"},
    {TextId::SaturdayShort, "FlatSpeedButton6"},
    {TextId::SundayShort, "FlatSpeedButton7"},
    {TextId::AllShows, "FlatSpeedButton8"},
    {TextId::SelectedShows, "FlatSpeedButton9"},
    {TextId::NowOnAir, "FlatSpeedButton31"},
    {TextId::SetTimeShift, "FlatSpeedButton22"},
    {TextId::SortChannels, "FlatSpeedButton23"},
    {TextId::SaveSettings, "FlatSpeedButton24"},
    {TextId::ProxySetup, "GroupBox1"},
    {TextId::ProxyHost, "Label4"},
    {TextId::ProxyPort, "Label5"},
    {TextId::ProxyLogin, "Label6"},
    {TextId::ProxyPassword, "Label7"},
    {TextId::UseProxy, "CheckBox1"},
    {TextId::ProxyNeedsPassword, "CheckBox2"},
    {TextId::SavePassword, "CheckBox3"},
    {TextId::NowLabel, "Label1"},
    {TextId::UsefulLinksMenu, "N1"},
    {TextId::HomePageItem, "N2"},
    {TextId::JokesItem, "N3"},
    {TextId::PsychologyTestsItem, "N4"},
    {TextId::ExitItem, "N5"},
    {TextId::HelpMenu, "N6"},
    {TextId::AboutItem, "N7"},
    {TextId::HelpIndexItem, "N8"},
    {TextId::LanguageGroup, "GroupBox2"},
    {TextId::Russian, "RadioButton1"},
    {TextId::English, "RadioButton2"},
    {TextId::LibrariesItem, "N10"},
    {TextId::RockSiteItem, "N11"},
    {TextId::DrinksItem, "N12"},
    {TextId::IcqListItem, "ICQ1"},
    {TextId::JuicyJokesItem, "N13"},
    {TextId::CoolLinksMenu, "N14"},
    {TextId::DeleteWeek, "FlatSpeedButton29"},
    {TextId::Font, "FlatSpeedButton28"},
    {TextId::DesktopShortcut, "FlatSpeedButton32"},
    {TextId::DeleteChannel, "FlatSpeedButton30"},
    {TextId::StartUp, "CheckBox4"},
    {TextId::ShiftHours, "Label16"},
    {TextId::ShiftMinutes, "Label17"},
    {TextId::SaveShift, "FlatSpeedButton34"},
    {TextId::HideShift, "FlatSpeedButton33"},
    {TextId::ShiftHint, "Label15"},
    {TextId::AllDays, "FlatCheckBox8"},
    {TextId::Columns, "Label8"},
    {TextId::ColumnGap, "Label14"},
    {TextId::PrintMargins, "Label13"},
    {TextId::MarginLeft, "Label9"},
    {TextId::MarginRight, "Label10"},
    {TextId::MarginTop, "Label11"},
    {TextId::MarginBottom, "Label12"},
    {TextId::NextMonday, "FlatSpeedButton10"},
    {TextId::FileMenu, "FileMenu"},
    {TextId::ImportXmltvItem, "ImportXmltvItem"},
    {TextId::SearchItem, "SearchItem"},
    {TextId::ExportXmltvItem, "ExportXmltvItem"},
    {TextId::ExportIcsItem, "ExportIcsItem"},
    {TextId::ExportJtvItem, "ExportJtvItem"},
};

} // namespace brevio
