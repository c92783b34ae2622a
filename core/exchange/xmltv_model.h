#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The parts of an XMLTV listing this program reads and writes. Texts are UTF-8, as the XML
// parser hands them out; they become windows-1251 only where they enter a channel file.
namespace brevio::exchange {

// A text with the language of its lang attribute ("" when it has none).
struct XmltvText
{
    std::string lang;
    std::string text;
};

// A moment with the UTC offset it was written with (minutes east of UTC).
struct XmltvTime
{
    std::chrono::sys_seconds utc;
    int offsetMinutes = 0;
    bool zoneWritten = true; // false: the text gave no offset or zone, and UTC was taken
};

struct XmltvChannel
{
    std::string id;
    std::vector<XmltvText> displayNames;
    long line = 0; // where the element starts in its file
};

struct XmltvEpisode
{
    std::string system; // "xmltv_ns", "onscreen", ...
    std::string text;
};

struct XmltvProgramme
{
    std::string channel;
    XmltvTime start;
    std::optional<XmltvTime> stop;
    std::vector<XmltvText> titles;
    std::vector<XmltvText> subTitles;
    std::vector<XmltvText> descriptions;
    std::vector<XmltvEpisode> episodes;
    long line = 0;
};

} // namespace brevio::exchange
