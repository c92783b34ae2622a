#pragma once

#include "core/exchange/xmltv_model.h"

#include <ostream>
#include <string>
#include <string_view>

namespace brevio::exchange {

enum class XmlPlace { Content, Attribute };

// Text escaped so that a parser gives it back as it is: the five characters XML reserves, a CR
// (which a parser reads as LF) and, in an attribute, LF and tab (which it reads as blanks).
std::string xmlEscaped(std::string_view utf8, XmlPlace place);

// Writes an XMLTV document in UTF-8 as a stream: the declaration and <tv> at once, then
// channels before programmes, as the format's DTD orders them, and </tv> at finish().
class XmltvWriter
{
public:
    XmltvWriter(std::ostream& out, std::string_view generator);
    void channel(const XmltvChannel& channel);
    void programme(const XmltvProgramme& programme);
    void finish();

private:
    void texts(const char* element, const std::vector<XmltvText>& texts);

    std::ostream& m_out;
};

} // namespace brevio::exchange
