#include "core/exchange/xmltv_reader.h"

#include "core/exchange/exchange_errors.h"
#include "core/exchange/unpacking.h"
#include "core/exchange/xmltv_time.h"

#include <libxml/hash.h>
#include <libxml/parser.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace brevio::exchange {

namespace {

// Listings come from outside: nothing in them may make the parser reach for another file or
// the network. Besides the parser options below, every outside entity is refused here too.
xmlParserInputPtr refuseOutsideEntity(const char*, const char*, xmlParserCtxtPtr)
{
    return nullptr;
}

void setUpParserOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseOutsideEntity);
    });
}

// No DTD loading, no entity substitution, no network; large line numbers kept; the parser's
// own size limits (no XML_PARSE_HUGE) end a runaway text node.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_COMPACT | XML_PARSE_NOCDATA;

struct ReaderFreer
{
    void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

struct XmlFreer
{
    void operator()(xmlChar* text) const { xmlFree(text); }
};

// The file as the parser pulls it: plain, gzip or xz, unpacked on the way. Nothing may be thrown
// through the parser, so a fault waits here until it returns.
struct Input
{
    UnpackingReader* reader = nullptr;
    std::string failure;
};

int readInput(void* context, char* buffer, int length)
{
    auto* input = static_cast<Input*>(context);
    try {
        return static_cast<int>(input->reader->read(buffer, static_cast<std::size_t>(std::max(length, 0))));
    } catch (const std::exception& e) {
        input->failure = e.what();
        return -1;
    }
}

int closeInput(void*)
{
    return 0; // the file is closed by its owner
}

struct FileCloser
{
    int fd;
    ~FileCloser() { ::close(fd); }
};

// The first error the parser reported (warnings are not errors).
struct ParseFault
{
    std::string file; // as the parser names it
    xmlTextReaderPtr reader = nullptr;
    std::string message;
    long line = 0;
};

void recordFault(void* context, xmlErrorPtr error)
{
    auto* fault = static_cast<ParseFault*>(context);
    if (error == nullptr || error->level < XML_ERR_ERROR || !fault->message.empty())
        return;
    std::string text = error->message ? error->message : "malformed XML";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    // The parser's own limit on a single text (10 MB) in words a user reads.
    if (text.find("huge text node") != text.npos || text.find("Huge input lookup") != text.npos)
        text = "a text longer than the 10 MB a listing may hold in one element or attribute";
    fault->message = text.empty() ? "malformed XML" : text;
    // The line in the file itself, not in an entity's text that the parser was reading.
    const bool inFile = error->file && fault->file == error->file;
    fault->line = inFile || !fault->reader ? error->line : xmlTextReaderGetParserLineNumber(fault->reader);
}

std::string_view nameOf(const xmlNode* node)
{
    return reinterpret_cast<const char*>(node->name);
}

long lineOf(const xmlNode* node)
{
    return xmlGetLineNo(node);
}

std::optional<std::string> attribute(const xmlNode* node, const char* name)
{
    std::unique_ptr<xmlChar, XmlFreer> value(xmlGetNoNsProp(node, BAD_CAST name));
    if (!value)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(value.get()));
}

std::string requiredAttribute(const xmlNode* node, const char* name)
{
    auto value = attribute(node, name);
    if (!value || value->empty())
        throw ListingError("<" + std::string(nameOf(node)) + "> has no '" + name + "' attribute");
    return std::move(*value);
}

// Whether `text` is UTF-8 as XML allows it: no overlong form, no surrogate, nothing past U+10FFFF.
bool properUtf8(std::string_view text)
{
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1
            : (lead & 0xE0) == 0xC0            ? 2
            : (lead & 0xF0) == 0xE0            ? 3
            : (lead & 0xF8) == 0xF0            ? 4
                                               : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = point << 6 | (next & 0x3F);
        }
        if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// The character data of an element. Entity references are refused: only the five predefined
// entities and character references are accepted, and the parser has already replaced those.
// The streaming parser does not look for overlong UTF-8 forms inside a CDATA section (which it
// refuses anywhere else, and which would decode to other characters, ':' for instance): such a
// text is refused here.
std::string textOf(const xmlNode* element)
{
    std::string text;
    for (const xmlNode* child = element->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            if (child->content)
                text += reinterpret_cast<const char*>(child->content);
        } else if (child->type == XML_ENTITY_REF_NODE) {
            throw ListingError("the entity '&" + std::string(nameOf(child))
                               + ";' is not defined (no DTD is read, so only &amp; &lt; &gt; &quot; &apos; "
                                 "and character references may stand in a listing)");
        }
    }
    if (!properUtf8(text))
        throw ListingError("malformed XML");
    return text;
}

XmltvText langText(const xmlNode* element)
{
    return {attribute(element, "lang").value_or(std::string()), textOf(element)};
}

XmltvTime timeAttribute(const xmlNode* node, const char* name)
{
    const std::string text = requiredAttribute(node, name);
    const auto time = parseXmltvTime(text);
    if (!time) {
        if (const auto zone = unknownZoneName(text))
            throw ListingError("time zone '" + *zone + "' is not known");
        throw ListingError("the " + std::string(name) + " time '" + text + "' is no real time");
    }
    return *time;
}

XmltvChannel readChannel(const xmlNode* node)
{
    XmltvChannel channel;
    channel.line = lineOf(node);
    channel.id = requiredAttribute(node, "id");
    for (const xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && nameOf(child) == "display-name")
            channel.displayNames.push_back(langText(child));
    return channel;
}

XmltvProgramme readProgramme(const xmlNode* node)
{
    XmltvProgramme programme;
    programme.line = lineOf(node);
    programme.channel = requiredAttribute(node, "channel");
    programme.start = timeAttribute(node, "start");
    if (attribute(node, "stop"))
        programme.stop = timeAttribute(node, "stop");
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        const std::string_view name = nameOf(child);
        if (name == "title")
            programme.titles.push_back(langText(child));
        else if (name == "sub-title")
            programme.subTitles.push_back(langText(child));
        else if (name == "desc")
            programme.descriptions.push_back(langText(child));
        else if (name == "episode-num")
            programme.episodes.push_back({attribute(child, "system").value_or("onscreen"), textOf(child)});
    }
    if (programme.titles.empty())
        throw ListingError("the programme has no title");
    return programme;
}

constexpr const char* kEntitiesRefused = "the file declares entities of its own, which a listing may not do";

// Entity declarations are refused outright, so no expansion can ever grow without bound.
void checkNoEntityDeclarations(const xmlNode* root)
{
    const xmlDtd* dtd = root->doc ? root->doc->intSubset : nullptr;
    if (!dtd)
        return;
    const auto declared
        = [](void* table) { return table && xmlHashSize(static_cast<xmlHashTablePtr>(table)) > 0; };
    if (declared(dtd->entities) || declared(dtd->pentities))
        throw ListingError(kEntitiesRefused);
}

constexpr const char* kNotRegular
    = "not a regular file (a folder, a named pipe or a device is no listing and is not read)";

// The file opened for reading, with its size. Only a regular file is opened: the type is
// looked at before the open, so that a device is never opened, and again on the open file,
// which is opened without waiting, so that a pipe swapped in between cannot stall the read.
int openListing(const std::filesystem::path& file, std::uint64_t& size)
{
    const std::string name = file.string();
    struct stat st;
    const auto refuse = [&](int err) { throw XmltvError(name, IoError::fromErrno(err).what()); };
    if (::stat(file.c_str(), &st) != 0)
        refuse(errno);
    if (!S_ISREG(st.st_mode))
        throw XmltvError(name, kNotRegular);
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        refuse(errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw XmltvError(name, kNotRegular);
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

} // namespace

void readXmltvFile(const std::filesystem::path& file, XmltvSink& sink, const ReadProgress& progress,
                   const UnpackLimits& limits)
{
    setUpParserOnce();
    const std::string name = file.string();
    std::uint64_t total = 0;
    const FileCloser opened{openListing(file, total)};
    UnpackingReader unpacked(opened.fd, limits);
    Input input{&unpacked, {}};

    std::unique_ptr<xmlTextReader, ReaderFreer> reader(
        xmlReaderForIO(readInput, closeInput, &input, name.c_str(), nullptr, kParseOptions));
    if (!reader)
        throw XmltvError(name, "the XML parser could not be set up");
    ParseFault fault{name, reader.get(), {}, 0};
    xmlTextReaderSetStructuredErrorHandler(reader.get(), recordFault, &fault);

    bool rootSeen = false;
    const auto fail = [&](long line, std::string_view message) { throw XmltvError(name, line, message); };
    const auto checkFault = [&] {
        if (!input.failure.empty())
            throw XmltvError(name, "cannot be read or unpacked (" + input.failure + ")");
        if (fault.message.empty())
            return;
        if (!rootSeen && fault.message.find("ntity") != std::string::npos)
            fail(fault.line, std::string(kEntitiesRefused) + " (" + fault.message + ")");
        fail(fault.line, fault.message);
    };

    int status = xmlTextReaderRead(reader.get());
    while (status == 1) {
        const int type = xmlTextReaderNodeType(reader.get());
        const int depth = xmlTextReaderDepth(reader.get());
        const xmlNode* node = xmlTextReaderCurrentNode(reader.get());
        // Before any complaint of the parser's: a listing that declares entities is refused
        // for that, whatever the parser made of them while reading ahead.
        if (type == XML_READER_TYPE_ELEMENT && depth == 0) {
            try {
                checkNoEntityDeclarations(node);
            } catch (const ListingError& e) {
                fail(lineOf(node), e.what());
            }
        }
        checkFault();
        if (type == XML_READER_TYPE_ENTITY_REFERENCE)
            fail(xmlTextReaderGetParserLineNumber(reader.get()),
                 "the entity '&" + std::string(node ? nameOf(node) : "") + ";' is not defined");
        if (type != XML_READER_TYPE_ELEMENT) {
            status = xmlTextReaderRead(reader.get());
            continue;
        }
        if (depth == 0) {
            rootSeen = true;
            if (nameOf(node) != "tv")
                fail(lineOf(node),
                     "the root element is <" + std::string(nameOf(node))
                         + ">, not <tv>: this is no XMLTV listing");
        }
        const bool channel = depth == 1 && nameOf(node) == "channel";
        const bool programme = depth == 1 && nameOf(node) == "programme";
        if (!channel && !programme) {
            status = xmlTextReaderRead(reader.get());
            continue;
        }
        const long line = lineOf(node);
        const xmlNode* element = xmlTextReaderExpand(reader.get());
        checkFault();
        if (!element)
            fail(line, "malformed XML");
        try {
            if (channel)
                sink.channel(readChannel(element));
            else
                sink.programme(readProgramme(element));
        } catch (const ListingError& e) {
            fail(line, e.what());
        }
        if (progress && !progress(unpacked.packedBytesRead(), total))
            throw Cancelled();
        status = xmlTextReaderNext(reader.get());
    }
    checkFault();
    if (status < 0)
        fail(xmlTextReaderGetParserLineNumber(reader.get()), "malformed XML");
    if (!rootSeen)
        fail(1, "the file holds no XML document");
}

} // namespace brevio::exchange
