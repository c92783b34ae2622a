#pragma once

#include "core/exchange/unpacking.h"
#include "core/exchange/xmltv_model.h"

#include <cstdint>
#include <filesystem>
#include <functional>

// Reading XMLTV files as a stream: each <channel> and <programme> is handed on as soon as it is
// read and then forgotten, so memory does not grow with the file.
namespace brevio::exchange {

// Receives what the reader finds, in file order. May throw ListingError; the reader then
// names the file and the line of the element.
class XmltvSink
{
public:
    virtual ~XmltvSink() = default;
    virtual void channel(XmltvChannel&& channel) = 0;
    virtual void programme(XmltvProgramme&& programme) = 0;
};

// Told now and then how many bytes of the file are read, of how many; false stops the read
// (it then throws Cancelled).
using ReadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads one XMLTV file, plain, gzip- or xz-compressed (told by its first bytes, within `limits`),
// in whatever encoding its XML declaration names. Never loads a DTD or any other outside resource and accepts
// no entity declarations. Throws XmltvError naming the file and line for malformed XML, a root other than
// <tv>, a channel or programme without its required attributes, a programme without a title, a time that
// names no real moment or a zone it does not know, a text beyond the parser's size limit, a file that cannot
// be opened and anything but a regular file (a named pipe, a device, a folder: refused before it is opened,
// so that nothing waits for a writer or reads forever).
void readXmltvFile(const std::filesystem::path& file, XmltvSink& sink, const ReadProgress& progress = {},
                   const UnpackLimits& limits = {});

} // namespace brevio::exchange
