#include "core/sources/source_settings.h"

#include "core/session/setting_value.h"
#include "core/store/cp1251.h"

#include <algorithm>

namespace brevio::sources {

namespace {

constexpr int kMostSources = 1000;
constexpr char kNameSeparator = '|';

std::string joined(const std::vector<std::string>& items, char separator)
{
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty())
            text += separator;
        text += item;
    }
    return text;
}

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> items;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(separator), text.size());
        if (end > 0)
            items.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return items;
}

std::string namesToSetting(const std::vector<std::string>& names)
{
    std::vector<std::string> utf8;
    for (const std::string& name : names)
        utf8.push_back(cp1251ToUtf8(name));
    return joined(utf8, kNameSeparator);
}

std::vector<std::string> namesFromSetting(const std::string& text)
{
    std::vector<std::string> names = split(text, kNameSeparator);
    for (std::string& name : names)
        name = utf8ToCp1251(name);
    return names;
}

// Writes one source's values under "n/".
class Writer
{
public:
    Writer(SectionValues& values, std::size_t number)
        : m_values(values)
        , m_prefix(std::to_string(number) + "/")
    {
    }
    void text(const char* name, const std::string& value) { m_values[m_prefix + name] = value; }
    void integer(const char* name, long long value) { text(name, int64ToSetting(value)); }
    void flag(const char* name, bool value) { text(name, boolToSetting(value)); }
    template <typename T>
    void optional(const char* name, const std::optional<T>& value)
    {
        if (value)
            integer(name, static_cast<long long>(*value));
    }
    void moment(const char* name, const std::optional<Seconds>& value)
    {
        if (value)
            integer(name, value->time_since_epoch().count());
    }

private:
    SectionValues& m_values;
    std::string m_prefix;
};

// Reads one source's values under "n/".
class Reader
{
public:
    Reader(const SectionValues& values, std::size_t number)
        : m_values(values)
        , m_prefix(std::to_string(number) + "/")
    {
    }
    std::optional<std::string> value(const char* name) const
    {
        const auto found = m_values.find(m_prefix + name);
        return found == m_values.end() ? std::nullopt : std::optional(found->second);
    }
    std::string text(const char* name, std::string fallback = {}) const
    {
        return value(name).value_or(std::move(fallback));
    }
    int integer(const char* name, int fallback) const { return settingToInt(value(name), fallback); }
    bool flag(const char* name, bool fallback) const { return settingToBool(value(name), fallback); }
    std::optional<long long> wide(const char* name) const
    {
        constexpr long long kNone = -1;
        const long long read = settingToInt64(value(name), kNone);
        return read < 0 ? std::nullopt : std::optional(read);
    }
    std::optional<Seconds> moment(const char* name) const
    {
        const auto seconds = wide(name);
        return seconds ? std::optional(Seconds(std::chrono::seconds(*seconds))) : std::nullopt;
    }

private:
    const SectionValues& m_values;
    std::string m_prefix;
};

} // namespace

SectionValues sourcesToSettings(const std::vector<ListingSource>& sources)
{
    SectionValues values;
    values["count"] = intToSetting(static_cast<int>(sources.size()));
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const ListingSource& source = sources[i];
        const SourceState& state = source.state;
        Writer out(values, i + 1);
        out.text("name", source.name);
        out.text("address", source.address);
        out.flag("enabled", source.enabled);
        out.integer("interval", source.intervalMinutes);
        out.text("zone", source.timeZone);
        out.integer("dayStart", source.dayStartMinutes);
        out.text("languages", joined(source.languages, ','));
        out.flag("keepAll", source.keepAll);
        out.text("kept", namesToSetting(source.kept));
        out.text("offered", namesToSetting(source.offered));
        out.moment("lastSuccess", state.lastSuccess);
        out.moment("lastAttempt", state.lastAttempt);
        out.integer("failures", state.failures);
        out.moment("nextTry", state.nextTry);
        out.text("error", state.lastError);
        out.flag("listed", state.channelsListed);
        out.integer("channels", state.channelsGiven);
        out.text("weeks", joined(state.weeks, ','));
        out.text("etag", state.etag);
        out.text("lastModified", state.lastModified);
        out.optional("fileSize", state.fileSize);
        out.optional("fileTime", state.fileTime);
    }
    return values;
}

std::vector<ListingSource> sourcesFromSettings(const SectionValues& values)
{
    const auto countValue = values.find("count");
    const int count = std::clamp(
        settingToInt(countValue == values.end() ? std::nullopt : std::optional(countValue->second), 0), 0,
        kMostSources);
    std::vector<ListingSource> sources;
    for (int n = 1; n <= count; ++n) {
        const Reader in(values, static_cast<std::size_t>(n));
        ListingSource source;
        source.address = in.text("address");
        if (source.address.empty())
            continue;
        source.name = in.text("name");
        if (source.name.empty())
            source.name = defaultSourceName(source.address);
        source.enabled = in.flag("enabled", true);
        source.intervalMinutes = clampedInterval(in.integer("interval", kDefaultIntervalMinutes));
        source.timeZone = in.text("zone");
        source.dayStartMinutes = std::clamp(in.integer("dayStart", source.dayStartMinutes), 0, 24 * 60 - 1);
        if (const auto languages = in.value("languages"))
            source.languages = split(*languages, ',');
        source.keepAll = in.flag("keepAll", false);
        source.kept = namesFromSetting(in.text("kept"));
        source.offered = namesFromSetting(in.text("offered"));

        SourceState& state = source.state;
        state.lastSuccess = in.moment("lastSuccess");
        state.lastAttempt = in.moment("lastAttempt");
        state.failures = std::max(in.integer("failures", 0), 0);
        state.nextTry = in.moment("nextTry");
        state.lastError = in.text("error");
        state.channelsListed = in.flag("listed", false);
        state.channelsGiven = std::max(in.integer("channels", 0), 0);
        state.weeks = split(in.text("weeks"), ',');
        state.etag = in.text("etag");
        state.lastModified = in.text("lastModified");
        if (const auto size = in.wide("fileSize"))
            state.fileSize = static_cast<std::uint64_t>(*size);
        state.fileTime = in.wide("fileTime");
        sources.push_back(std::move(source));
    }
    return sources;
}

} // namespace brevio::sources
