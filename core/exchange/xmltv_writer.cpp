#include "core/exchange/xmltv_writer.h"

#include "core/exchange/xmltv_time.h"

namespace brevio::exchange {

std::string xmlEscaped(std::string_view utf8, XmlPlace place)
{
    const bool attribute = place == XmlPlace::Attribute;
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            out += attribute ? "&#10;" : "\n";
            break;
        case '\t':
            out += attribute ? "&#9;" : "\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

XmltvWriter::XmltvWriter(std::ostream& out, std::string_view generator)
    : m_out(out)
{
    m_out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
             "<tv generator-info-name=\""
          << xmlEscaped(generator, XmlPlace::Attribute) << "\">\n";
}

void XmltvWriter::texts(const char* element, const std::vector<XmltvText>& texts)
{
    for (const XmltvText& text : texts) {
        m_out << "    <" << element;
        if (!text.lang.empty())
            m_out << " lang=\"" << xmlEscaped(text.lang, XmlPlace::Attribute) << '"';
        m_out << '>' << xmlEscaped(text.text, XmlPlace::Content) << "</" << element << ">\n";
    }
}

void XmltvWriter::channel(const XmltvChannel& channel)
{
    m_out << "  <channel id=\"" << xmlEscaped(channel.id, XmlPlace::Attribute) << "\">\n";
    texts("display-name", channel.displayNames);
    m_out << "  </channel>\n";
}

void XmltvWriter::programme(const XmltvProgramme& programme)
{
    m_out << "  <programme start=\"" << formatXmltvTime(programme.start) << '"';
    if (programme.stop)
        m_out << " stop=\"" << formatXmltvTime(*programme.stop) << '"';
    m_out << " channel=\"" << xmlEscaped(programme.channel, XmlPlace::Attribute) << "\">\n";
    // The DTD's order: title, sub-title, desc, ..., episode-num.
    texts("title", programme.titles);
    texts("sub-title", programme.subTitles);
    texts("desc", programme.descriptions);
    for (const XmltvEpisode& episode : programme.episodes)
        m_out << "    <episode-num system=\"" << xmlEscaped(episode.system, XmlPlace::Attribute) << "\">"
              << xmlEscaped(episode.text, XmlPlace::Content) << "</episode-num>\n";
    m_out << "  </programme>\n";
}

void XmltvWriter::finish()
{
    m_out << "</tv>\n";
    m_out.flush();
}

} // namespace brevio::exchange
