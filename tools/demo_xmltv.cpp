#include "tools/demo_xmltv.h"

#include "core/exchange/xmltv_writer.h"
#include "tools/demo_listing.h"

#include <ctime>

namespace brevio::tools {

namespace {

// The moment of a local wall-clock time of `day` (minutes past its midnight, past 24 hours
// for the small hours after it), with the offset the machine's zone has then.
exchange::XmltvTime localMoment(std::chrono::sys_days day, int minutes)
{
    const std::chrono::year_month_day date{day + std::chrono::days(minutes / (24 * 60))};
    minutes %= 24 * 60;
    std::tm local{};
    local.tm_year = int(date.year()) - 1900;
    local.tm_mon = int(unsigned(date.month())) - 1;
    local.tm_mday = int(unsigned(date.day()));
    local.tm_hour = minutes / 60;
    local.tm_min = minutes % 60;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    std::tm back{};
    localtime_r(&t, &back);
    return {std::chrono::sys_seconds(std::chrono::seconds(t)), int(back.tm_gmtoff / 60)};
}

std::string channelId(const DemoChannel& channel)
{
    return channel.file.substr(0, channel.file.find('.')) + ".demo";
}

std::string longDescription(const DemoShow& show, int extraSentences, DemoRandom& random)
{
    std::string text = show.description;
    for (int i = 0; i < extraSentences; ++i) {
        const std::string sentence = pickDescription(show.genre, random);
        text += (text.empty() ? "" : " ") + sentence + (sentence.ends_with('.') ? "" : ".");
    }
    return text;
}

} // namespace

void writeDemoXmltv(std::ostream& out, std::chrono::sys_days first, int days, int channelCount,
                    int extraSentences)
{
    const auto channels = demoChannels(channelCount);
    exchange::XmltvWriter writer(out, "brevio-demo-data");
    for (const DemoChannel& channel : channels)
        writer.channel({channelId(channel), {{"ru", channel.name}}, 0});
    for (const DemoChannel& channel : channels) {
        const auto& profile = themeProfile(channel.theme);
        for (int d = 0; d < days; ++d) {
            const auto day = first + std::chrono::days(d);
            DemoRandom random(DemoRandom::seedOf(channel.file + "|" + weekDate(day)));
            const std::vector<DemoShow> shows = demoDay(profile, random);
            for (std::size_t i = 0; i < shows.size(); ++i) {
                const DemoShow& show = shows[i];
                const int end
                    = i + 1 < shows.size() ? shows[i + 1].start : show.start + genreMinutes(show.genre);
                exchange::XmltvProgramme programme;
                programme.channel = channelId(channel);
                programme.start = localMoment(day, show.start);
                programme.stop = localMoment(day, end);
                programme.titles = {{"ru", show.title}};
                if (const std::string text = longDescription(show, extraSentences, random); !text.empty())
                    programme.descriptions = {{"ru", text}};
                if (show.genre == Genre::Series)
                    programme.episodes = {{"xmltv_ns", "." + std::to_string(random.between(0, 23)) + "."}};
                writer.programme(programme);
            }
        }
    }
    writer.finish();
}

} // namespace brevio::tools
