#include "core/exchange/exchange_errors.h"
#include "core/exchange/xmltv_reader.h"
#include "core/exchange/xmltv_time.h"
#include "core/exchange/xmltv_writer.h"
#include "core/store/file_io.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>
#include <sys/stat.h>

namespace brevio::exchange {
namespace {

using namespace std::chrono;
using test::xmltvSample;

sys_seconds utc(int y, unsigned mo, unsigned d, int h, int mi, int s = 0)
{
    return sys_days(year(y) / month(mo) / day(d)) + hours(h) + minutes(mi) + seconds(s);
}

// Each text reads as its moment and offset, and writes back in the one canonical form.
TEST(XmltvTimeTest, ReadsEveryPrecisionAndOffsetAndWritesItBack)
{
    const struct
    {
        const char* text;
        sys_seconds moment;
        int offset;
        const char* written; // nullptr: the text itself
    } cases[] = {
        {"20261207093000 +0300", utc(2026, 12, 7, 6, 30), 180, nullptr},
        {"20261207093000 -0130", utc(2026, 12, 7, 11, 0), -90, nullptr},
        {"20261207093000+0300", utc(2026, 12, 7, 6, 30), 180, "20261207093000 +0300"},
        {"20261207093015", utc(2026, 12, 7, 9, 30, 15), 0, "20261207093015 +0000"}, // no offset: UTC
        {"202612070930 +0000", utc(2026, 12, 7, 9, 30), 0, "20261207093000 +0000"},
        {"2026120709 Z", utc(2026, 12, 7, 9, 0), 0, "20261207090000 +0000"},
        {"20261207 UTC", utc(2026, 12, 7, 0, 0), 0, "20261207000000 +0000"},
        {"20240229235959 GMT", utc(2024, 2, 29, 23, 59, 59), 0, "20240229235959 +0000"},
        {"20270101000000 +1400", utc(2026, 12, 31, 10, 0), 14 * 60, nullptr},
        {"20261208003000 +0300", utc(2026, 12, 7, 21, 30), 180, nullptr},
        {"20260228193509 -0530", utc(2026, 3, 1, 1, 5, 9), -330, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto time = parseXmltvTime(c.text);
        ASSERT_TRUE(time);
        EXPECT_EQ(time->utc, c.moment);
        EXPECT_EQ(time->offsetMinutes, c.offset);
        EXPECT_EQ(formatXmltvTime(*time), c.written ? c.written : c.text);
    }
}

TEST(XmltvTimeTest, RefusesWhatNamesNoRealMoment)
{
    for (const char* text : {"", "2026", "202612", "2026120", "20261207093", "20260230120000 +0300",
                             "20261307120000", "20261207240000", "20261207126000", "20261207120060",
                             "20261207120000 +1500", "20261207120000 +03:00", "20261207120000 +0360",
                             "20261207120000 +0300x", "20261207120000 0300", "2026-12-07T12:00:00"}) {
        EXPECT_EQ(parseXmltvTime(text), std::nullopt) << '"' << text << '"';
        EXPECT_EQ(unknownZoneName(text), std::nullopt) << '"' << text << '"';
    }
}

// A zone written by name reads as its offset; a name of several meanings, or none, is refused
// and named.
TEST(XmltvTimeTest, ZoneNamesOfOneMeaningReadAsTheirOffsets)
{
    // Each name with its minutes east of UTC.
    const std::pair<const char*, int> known[] = {
        {"UTC", 0},    {"GMT", 0},    {"UT", 0},     {"Z", 0},      {"WET", 0},    {"WEST", 60},
        {"BST", 60},   {"CET", 60},   {"CEST", 120}, {"EET", 120},  {"EEST", 180}, {"MSK", 180},
        {"EST", -300}, {"EDT", -240}, {"CST", -360}, {"CDT", -300}, {"MST", -420}, {"MDT", -360},
        {"PST", -480}, {"PDT", -420}, {"HST", -600}, {"ACST", 570}, {"NZDT", 780},
    };
    for (const auto& [zone, offset] : known) {
        const std::string text = std::string("20261207120000 ") + zone;
        SCOPED_TRACE(text);
        const auto time = parseXmltvTime(text);
        ASSERT_TRUE(time);
        EXPECT_EQ(time->offsetMinutes, offset);
        EXPECT_EQ(time->utc, utc(2026, 12, 7, 12, 0) - minutes(offset));
        EXPECT_EQ(unknownZoneName(text), std::nullopt);
    }
    for (const char* zone : {"IST", "AST", "XYZ", "BST2", "Europe/Moscow"}) {
        const std::string text = std::string("20261207120000 ") + zone;
        EXPECT_EQ(parseXmltvTime(text), std::nullopt) << text;
        EXPECT_EQ(unknownZoneName(text), std::optional<std::string>(zone)) << text;
    }
}

// Everything the reader hands on, as text that compares easily.
class Recorder : public XmltvSink
{
public:
    void channel(XmltvChannel&& channel) override
    {
        std::string text = channel.id;
        for (const auto& name : channel.displayNames)
            text += " [" + name.lang + "]" + name.text;
        channels.push_back(text);
        channelLines.push_back(channel.line);
    }
    void programme(XmltvProgramme&& programme) override
    {
        std::string text = programme.channel + " " + formatXmltvTime(programme.start);
        if (programme.stop)
            text += "-" + formatXmltvTime(*programme.stop);
        for (const auto& title : programme.titles)
            text += " T[" + title.lang + "]" + title.text;
        for (const auto& sub : programme.subTitles)
            text += " S[" + sub.lang + "]" + sub.text;
        for (const auto& desc : programme.descriptions)
            text += " D[" + desc.lang + "]" + desc.text;
        for (const auto& episode : programme.episodes)
            text += " E[" + episode.system + "]" + episode.text;
        programmes.push_back(text);
        programmeLines.push_back(programme.line);
    }

    std::vector<std::string> channels, programmes;
    std::vector<long> channelLines, programmeLines;
};

TEST(XmltvReaderTest, HandsOnChannelsAndProgrammesInFileOrder)
{
    Recorder recorder;
    readXmltvFile(xmltvSample("week.xml"), recorder);
    EXPECT_EQ(recorder.channels,
              (std::vector<std::string>{
                  "first.example.ru [en]First [ru]Первый канал",
                  "kino.example.ru [ru]Кино: классика",
                  "kino2.example.ru [ru]Кино: классика",
                  "Sport.Example.ru []Спорт|Плюс",
              }));
    EXPECT_EQ(recorder.channelLines, (std::vector<long>{7, 11, 14, 17}));
    ASSERT_EQ(recorder.programmes.size(), 21u);
    EXPECT_EQ(recorder.programmes[0],
              "first.example.ru 20261207090000 +0300-20261207093000 +0300 T[ru]Сериал "
              "S[ru]Серия первая E[onscreen]S01E01");
    EXPECT_EQ(recorder.programmeLines[0], 20);
    EXPECT_EQ(recorder.programmes[1],
              "first.example.ru 20261207060000 +0300-20261207090000 +0300 T[ru]Утро "
              "D[ru]Новости и погода.\n\n12.30 — прямой эфир\n   \nВедущий:   Иван");
    EXPECT_EQ(recorder.programmes[9], "first.example.ru 20261209030000 +0000 T[ru]Без зоны");
    EXPECT_EQ(recorder.programmes[11],
              "first.example.ru 20261210070000 +0300 T[en]Morning Show T[ru]Утренний эфир "
              "S[en]Live D[en]In English. D[ru]По-русски.");
    EXPECT_EQ(recorder.programmes[13],
              "first.example.ru 20261212100000 +0300 T[en]Tom & Jerry E[xmltv_ns]1.4.");
}

void gzipFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const std::string bytes = store::readFile(from);
    gzFile out = gzopen(to.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(gzwrite(out, bytes.data(), static_cast<unsigned>(bytes.size())), int(bytes.size()));
    ASSERT_EQ(gzclose(out), Z_OK);
}

TEST(XmltvReaderTest, EveryEncodingAndGzipGiveTheSameListing)
{
    test::TempDir dir;
    gzipFile(xmltvSample("enc-utf8.xml"), dir / "enc.xml.gz");
    Recorder expected;
    readXmltvFile(xmltvSample("enc-utf8.xml"), expected);
    ASSERT_EQ(expected.programmes.size(), 2u);
    EXPECT_NE(expected.programmes[0].find("Ёлки, щи и съёмки"), std::string::npos);
    for (const std::filesystem::path& file :
         {xmltvSample("enc-cp1251.xml"), xmltvSample("enc-iso8859-5.xml"), dir / "enc.xml.gz"}) {
        Recorder got;
        readXmltvFile(file, got);
        EXPECT_EQ(got.channels, expected.channels) << file;
        EXPECT_EQ(got.programmes, expected.programmes) << file;
        EXPECT_EQ(got.programmeLines, expected.programmeLines) << file;
    }
}

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<tv>\n"
                          "  <channel id=\"a.example\"><display-name>A</display-name></channel>\n";

// A listing of channel a.example, `body` from line 4 on, then the closing tag.
std::string listing(const std::string& body)
{
    return kHead + body + "</tv>\n";
}

const std::string kProgramme = "  <programme start=\"20261207060000\" channel=\"a.example\">";

TEST(XmltvReaderTest, FaultsNameTheFileAndLine)
{
    const struct
    {
        const char* name;
        std::string document;
        long line; // 0: the file as a whole
        const char* says;
    } faults[] = {
        {"unclosed element", listing(kProgramme + "\n    <title>X</title>\n"), 6, ""},
        {"no channel attribute",
         listing("\n  <programme start=\"20261207060000\"><title>X</title></programme>\n"), 5,
         "<programme> has no 'channel' attribute"},
        {"no start attribute", listing("  <programme channel=\"a.example\"><title>X</title></programme>\n"),
         4, "<programme> has no 'start' attribute"},
        {"no channel id", listing("  <channel><display-name>B</display-name></channel>\n"), 4,
         "<channel> has no 'id' attribute"},
        {"impossible start",
         listing("  <programme start=\"20260230060000 +0300\" "
                 "channel=\"a.example\"><title>X</title></programme>\n"),
         4, "the start time '20260230060000 +0300' is no real time"},
        {"impossible stop",
         listing("  <programme start=\"20261207060000\" stop=\"20261207250000\" "
                 "channel=\"a.example\"><title>X</title></programme>\n"),
         4, "the stop time '20261207250000' is no real time"},
        {"unknown zone name",
         listing("  <programme start=\"20261207060000 XYZ\" "
                 "channel=\"a.example\"><title>X</title></programme>\n"),
         4, "time zone 'XYZ' is not known"},
        {"no title", listing(kProgramme + "\n    <desc>Only this</desc>\n  </programme>\n"), 4,
         "the programme has no title"},
        {"not a listing", "<?xml version=\"1.0\"?>\n<html><body/></html>\n", 2, "the root element is <html>"},
        {"undefined entity", listing(kProgramme + "\n    <title>A&nbsp;B</title>\n  </programme>\n"), 5,
         "nbsp"},
        {"entity declarations",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE tv [\n <!ENTITY a \"aaaaaaaaaa\">\n"
         " <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n"
         " <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n]>\n<tv>\n"
         "  <channel id=\"a.example\"><display-name>&c;</display-name></channel>\n</tv>\n",
         8, "declares entities"},
        // Overlong forms of ':' and '/' in a CDATA section, which the streaming parser lets pass.
        {"overlong in CDATA",
         listing(kProgramme + "\n    <title><![CDATA[A\xC0\xBA]]></title>\n  </programme>\n"), 4,
         "malformed XML"},
        {"three-byte overlong in CDATA",
         listing(
             "  <channel id=\"a.example\"><display-name><![CDATA[\xE0\x80\xAF]]></display-name></channel>\n"),
         4, "malformed XML"},
        {"empty file", "", 1, ""},
        {"not XML", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", 1, ""},
        {"text after the document", listing("") + "<tv/>\n", 5, ""},
    };
    test::TempDir dir;
    for (const auto& fault : faults) {
        dir.write("listing.xml", fault.document);
        Recorder recorder;
        try {
            readXmltvFile(dir / "listing.xml", recorder);
            ADD_FAILURE() << fault.name << ": accepted";
        } catch (const XmltvError& e) {
            const std::string message = e.what();
            const std::string where
                = (dir / "listing.xml").string() + ", line " + std::to_string(fault.line) + ": ";
            EXPECT_EQ(message.rfind(where, 0), 0u) << fault.name << ": " << message;
            EXPECT_NE(message.find(fault.says), std::string::npos) << fault.name << ": " << message;
        }
    }
}

// A named pipe without a writer would hold the read in open() for as long as none comes (the
// test would hang), and a device would pour out bytes: neither is read, and the file is named.
TEST(XmltvReaderTest, ReadsOnlyARegularFileAndNamesWhatItCannotRead)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.xml").c_str(), 0600), 0);
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {dir / "pipe.xml", "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {dir.path(), "not a regular file"},
        {dir / "missing.xml", "File not found"},
    };
    for (const auto& [file, says] : cases) {
        Recorder recorder;
        try {
            readXmltvFile(file, recorder);
            ADD_FAILURE() << file << ": accepted";
        } catch (const XmltvError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(file.string() + ": " + says, 0), 0u) << e.what();
        }
    }
}

TEST(XmltvReaderTest, NeverReachesForOutsideFiles)
{
    test::TempDir dir;
    dir.write("secret.txt", "TOP-SECRET");
    dir.write("tv.dtd", "<!ENTITY leak SYSTEM \"secret.txt\">\n");
    const std::string secret = "file://" + (dir / "secret.txt").string();
    const std::string documents[] = {
        // An outside entity declared in the document itself.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE tv [<!ENTITY leak SYSTEM \"" + secret
            + "\">]>\n<tv><channel id=\"a.b\"><display-name>&leak;</display-name></channel></tv>\n",
        // An outside DTD that would declare it.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE tv SYSTEM \"tv.dtd\">\n"
        "<tv><channel id=\"a.b\"><display-name>&leak;</display-name></channel></tv>\n",
        // A parameter entity pulling the file into the DTD.
        "<?xml version=\"1.0\"?>\n<!DOCTYPE tv [<!ENTITY % p SYSTEM \"" + secret + "\"> %p;]>\n<tv/>\n",
    };
    for (const std::string& document : documents) {
        dir.write("listing.xml", document);
        Recorder recorder;
        try {
            readXmltvFile(dir / "listing.xml", recorder);
        } catch (const XmltvError& e) {
            EXPECT_EQ(std::string(e.what()).find("TOP-SECRET"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(recorder.channels.empty()) << document;
    }
}

TEST(XmltvReaderTest, RefusesAHugeTextNodeNamingItsLine)
{
    test::TempDir dir;
    std::string document = kHead + kProgramme + "\n    <title>X</title>\n    <desc>";
    document.append(100u << 20, 'x');
    document += "</desc>\n  </programme>\n</tv>\n";
    dir.write("huge.xml", document);
    document.clear();
    Recorder recorder;
    try {
        readXmltvFile(dir / "huge.xml", recorder);
        FAIL() << "a 100 MB text node was accepted";
    } catch (const XmltvError& e) {
        EXPECT_NE(std::string(e.what()).find(", line 6: a text longer than the 10 MB"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(recorder.programmes.empty());
}

TEST(XmltvReaderTest, ReportsProgressAndStopsWhenAsked)
{
    const auto file = xmltvSample("week.xml");
    Recorder recorder;
    std::vector<std::uint64_t> seen;
    std::uint64_t size = 0;
    readXmltvFile(file, recorder, [&](std::uint64_t done, std::uint64_t total) {
        seen.push_back(done);
        size = total;
        return true;
    });
    EXPECT_EQ(size, std::filesystem::file_size(file));
    ASSERT_EQ(seen.size(), 25u); // one call per channel and programme
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_LE(seen.back(), size);

    Recorder stopped;
    int calls = 0;
    EXPECT_THROW(readXmltvFile(file, stopped, [&](std::uint64_t, std::uint64_t) { return ++calls < 6; }),
                 Cancelled);
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(stopped.programmes.size(), 2u);
}

TEST(XmltvReaderTest, ASinksObjectionCarriesTheLine)
{
    class Refuser : public XmltvSink
    {
        void channel(XmltvChannel&&) override { }
        void programme(XmltvProgramme&& programme) override
        {
            if (programme.channel == "kino2.example.ru")
                throw ListingError("not this one");
        }
    } refuser;
    try {
        readXmltvFile(xmltvSample("week.xml"), refuser);
        FAIL() << "the objection was lost";
    } catch (const XmltvError& e) {
        EXPECT_NE(std::string(e.what()).find("week.xml, line 89: not this one"), std::string::npos)
            << e.what();
    }
}

TEST(XmltvWriterTest, WritesWhatTheReaderReadsBack)
{
    test::TempDir dir;
    XmltvProgramme programme;
    programme.channel = "a.example";
    programme.start = {utc(2026, 12, 7, 3, 0), 180};
    programme.stop = XmltvTime{utc(2026, 12, 7, 4, 0), 180};
    programme.titles = {{"ru", "Кот & <пёс> \"в\" 'сапогах'"}};
    programme.subTitles = {{"", "Часть 1"}};
    // Line ends and tabs as they were: a parser turns a raw CR into LF, and raw LF and tab in an
    // attribute into blanks.
    programme.descriptions = {{"ru", "Строка 1\nСтрока 2\r\nСтрока 3\rконец\t."}};
    programme.episodes = {{"xmltv_ns", "0.1."}};
    std::ostringstream out;
    XmltvWriter writer(out, "tests & more");
    writer.channel({"a.example", {{"r\tu\r\n", "Канал <А>"}}, 0});
    writer.programme(programme);
    writer.finish();
    dir.write("written.xml", out.str());

    Recorder recorder;
    readXmltvFile(dir / "written.xml", recorder);
    EXPECT_EQ(recorder.channels, std::vector<std::string>{"a.example [r\tu\r\n]Канал <А>"});
    EXPECT_EQ(
        recorder.programmes,
        std::vector<std::string>{"a.example 20261207060000 +0300-20261207070000 +0300 T[ru]Кот & <пёс> "
                                 "\"в\" 'сапогах' S[]Часть 1 D[ru]Строка 1\nСтрока 2\r\nСтрока 3\rконец\t. "
                                 "E[xmltv_ns]0.1."});
}

} // namespace
} // namespace brevio::exchange
