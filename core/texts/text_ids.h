#pragma once

// The names of the interface texts of string_table.cpp: one name per text, its English id.
// The Russian text stands kRussianOffset further; textOf(id, offset) gives either.

#include "core/texts/string_table.h"

#include <string_view>

namespace brevio {

enum class TextId : int {
    // Page buttons of the header.
    ViewingPage = 2,
    RetrievalPage = 3,
    SettingsPage = 4,
    PrintingPage = 5,
    // Retrieval page.
    CheckForNewWeek = 6,
    DownloadTicked = 7,
    AbortTransfer = 10,
    // Printing page.
    PrintSelectedShows = 11,
    PrintAllChannels = 12,
    PrintByDays = 13,
    PrintByChannels = 14,
    // The weekdays in full, Monday to Sunday.
    Monday = 15,
    Tuesday = 16,
    Wednesday = 17,
    Thursday = 18,
    Friday = 19,
    Saturday = 20,
    Sunday = 21,
    Print = 22,
    // The weekdays short, Monday to Sunday (day buttons of the viewing page).
    MondayShort = 23,
    TuesdayShort = 24,
    WednesdayShort = 25,
    ThursdayShort = 26,
    FridayShort = 27,
    SaturdayShort = 28,
    SundayShort = 29,
    // Viewing page modes.
    AllShows = 30,
    SelectedShows = 31,
    NowOnAir = 32,
    // Settings page.
    SetTimeShift = 33,
    SortChannels = 34,
    SaveSettings = 35,
    ProxySetup = 36,
    ProxyHost = 37,
    ProxyPort = 38,
    ProxyLogin = 39,
    ProxyPassword = 40,
    UseProxy = 41,
    ProxyNeedsPassword = 42,
    SavePassword = 43,
    NowLabel = 44,
    // Menus.
    UsefulLinksMenu = 48,
    HomePageItem = 49,
    JokesItem = 50,
    PsychologyTestsItem = 51,
    ExitItem = 52,
    HelpMenu = 53,
    AboutItem = 54,
    HelpIndexItem = 55,
    // Language.
    LanguageGroup = 56,
    Russian = 57,
    English = 58,
    // The steps of a retrieval.
    CheckingServer = 59,
    SessionFailed = 60,
    NewWeekShowChannels = 61,
    NewWeekFetchingChannels = 62,
    NoNewWeekShowChannels = 63,
    TickAndDownload = 64,
    DownloadingChannel = 67,
    AllChannelsReceived = 68,
    // The transfer's status line.
    ProgressOf = 69,
    ProgressDone = 70,
    Connected = 71,
    Disconnected = 72,
    HostResolved = 73,
    NoFileOnServer = 74,
    ConnectionFailed = 75,
    LibrariesItem = 76,
    RockSiteItem = 77,
    DrinksItem = 78,
    IcqListItem = 79,
    JuicyJokesItem = 80,
    CoolLinksMenu = 81,
    // Settings page, upkeep.
    DeleteWeek = 83,
    Font = 84,
    DesktopShortcut = 85,
    DeleteChannel = 86,
    StartUp = 87,
    ShiftHours = 88,
    ShiftMinutes = 89,
    SaveShift = 90,
    HideShift = 91,
    ShiftHint = 92,
    // Printing page layout.
    AllDays = 93,
    Columns = 94,
    ColumnGap = 95,
    PrintMargins = 96,
    MarginLeft = 97,
    MarginRight = 98,
    MarginTop = 99,
    MarginBottom = 100,
    NextMonday = 101,
    // Selected shows.
    RemoveQuestion = 102,
    FromSelectedList = 103,
    PrintPreviewTitle = 104,
    SelectShowFirst = 105,
    ToPutInSelected = 106,
    CannotPutInSelected = 107,
    AlreadyInSelected = 108,
    // Upkeep messages.
    LastWeekStays = 109,
    WeekDeleted = 110,
    WeekFolderNotDeleted = 111,
    Done = 112,
    NoChannelForShift = 113,
    ChannelDeleted = 114,
    // News page.
    ReplyTooLarge = 115,
    NoNewsInReply = 116,
    // The import's report.
    ImportedNewWeek = 117,
    ImportedWeek = 118,
    ChannelsAdded = 119,
    SettingsNotSaved = 120,
    ColorLabel = 121,
    ChannelsReplaced = 122,
    AndMore = 123,
    UndeclaredChannels = 125,
    FileMenu = 130,
    ImportXmltvItem = 131,
    ImportXmltvTitle = 132,
    ReadingListings = 133,
    WritingWeeks = 134,
    CharactersReplaced = 135,
    XmltvFiles = 136,
    ImportedShows = 137,
    ImportCancelled = 138,
    NoProgrammes = 139,
    DownloadRefused = 140,
    NoChannelTicked = 141,
    NoChannelsToDownload = 142,
    // Search window.
    SearchItem = 145,
    SearchTitle = 146,
    FindLabel = 147,
    DayColumn = 148, // then the time, channel and title columns
    TimeColumn = 149,
    ChannelColumn = 150,
    TitleColumn = 151,
    ShowFound = 152,
    AddFoundToSelected = 153,
    FoundShows = 154,
    FoundCount = 155,
    NotSearchedWhole = 156,
    // Exports.
    ExportXmltvItem = 157,
    ExportIcsItem = 158,
    ExportJtvItem = 159,
    ExportAllChannels = 160,
    ExportTickedChannels = 161,
    RemindBefore = 162,
    ExportButton = 163,
    ReplaceFile = 164,
    Exported = 165,
    ExportNotWritten = 166,
    NothingToExport = 167,
    JtvLeftOut = 168,
    NoWeekYet = 169,
    WorkFolderUnusable = 170,
    // Names of captionless controls for screen readers.
    WeekSelectorName = 171,
    ChannelListName = 172,
    SelectedListName = 173,
    NextMondayListName = 174,
    NowPaneName = 175,
    ProgressName = 176,
    ChannelsToDownloadName = 177,
    ConnectionStateName = 178,
    WeekChannelsName = 179,
    DownloadedWeeksName = 180,
    ChannelsToPrintName = 181,
    CityName = 182,
    NewsPaneName = 183,
    SourcePageName = 184,
    ProgramToStartName = 185,
    SoundFileName = 186,
    CalendarExportWhat = 190,
    ListingExportWhat = 191,
    // Programme grid.
    GridItem = 470,
    GridTitle = 471,
    GridNow = 472,
    GridName = 473, // of the grid for screen readers; the tabs are named by the day chosen
    GridNotReadWhole = 474,
    // Reminders.
    ReminderShow = 490,
    ReminderSnooze = 491,
    ReminderStartsAt = 492,
    ReminderOnAir = 493,
    ReminderBox = 494,
    RemindMe = 495,
    DoNotRemind = 496,
    NothingToRemind = 497,
    RemindersGroup = 498,
    MinutesBeforeLabel = 499,
    RemindEverySelected = 500,
    WhenClosedLabel = 501,
    WhenClosedAsk = 502,
    WhenClosedKeep = 503,
    WhenClosedQuit = 504,
    KeepRunningQuestion = 505,
    TrayOpen = 506,
    TrayQuit = 507,
    NextReminders = 508,
    NoRemindersToCome = 509,
    TrayReminderEntry = 510,
    ReminderShowGone = 511,
};

// The id `steps` texts after `first`, for texts that stand in a row (weekdays, columns).
constexpr TextId textAfter(TextId first, int steps)
{
    return static_cast<TextId>(static_cast<int>(first) + steps);
}

// The UTF-8 text of `id` in the language at `languageOffset` (kEnglishOffset, kRussianOffset).
inline std::string_view textOf(TextId id, int languageOffset)
{
    return loadString(static_cast<int>(id) + languageOffset);
}

} // namespace brevio
