#include "model/LogFileReader.h"

#include "model/LogDocument.h"
#include "model/LogFileHost.h"

#include <QFile>
#include <QStringDecoder>

#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace
{

constexpr int kUnknownProgressMaximum = 2147483647;
constexpr int kErrorLineExcerpt = 40;
// The parser copies each chunk into a buffer of its own; chunks this small keep both buffers
// on the heap, on pages touched already, and cost no more calls that matter.
constexpr qint64 kChunkBytes = 64 * 1024;
// From this size on, the text pool gets its room for a large log before the first row. A log
// of ten thousand flights holds about 26,000 texts, one of a million about 50,000: below a
// few hundred thousand flights, the room would cost more to clear than growing costs.
constexpr qint64 kLargeLogBytes = qint64(32) << 20;
constexpr int kMaxColumns = 8;

constexpr std::array<const char *, 4> kRecords = {"Flight", "Airline", "Airport", "Distance"};

// What a name means, by the address the parser gives it: the parser keeps one copy of each
// name of a file, so after the first comparison of a name its address answers. Names beyond
// the first few are compared every time.
class NameMeanings
{
public:
    template <typename Compare> int of(const xmlChar *name, Compare compare)
    {
        for (int i = 0; i < m_known; ++i) {
            if (m_names[i] == name)
                return m_meanings[i];
        }
        const int meaning = compare(reinterpret_cast<const char *>(name));
        if (m_known < kSize) {
            m_names[m_known] = name;
            m_meanings[m_known++] = meaning;
        }
        return meaning;
    }

private:
    static constexpr int kSize = 16;
    const xmlChar *m_names[kSize] = {};
    int m_meanings[kSize] = {};
    int m_known = 0;
};

// Room for the rows to come, from the rows a table has so far and the part of the file they
// came from: the cells are not copied again and again as the tables grow.
struct RowEstimate {
    qint64 firstSeenAt = -1; // bytes read when the table's first row came
};

struct ParseError {
    bool set = false;
    int level = 0;
    QString reason;
    int line = 0;
};

// What the parse needs between two events: where rows go and how far the walk is.
struct ReaderState {
    xmlParserCtxtPtr ctxt = nullptr;
    LogFileHost *host = nullptr;
    LogTable *targets[4] = {};
    std::vector<std::string> captions[4];
    NameMeanings records;
    NameMeanings columns[4];
    RowEstimate estimates[4];
    std::string scratch; // an attribute value with its ampersands restored
    int depth = 0;       // elements open, the root included
    bool inText = false; // the last node below the root was text that may go on
    qint64 nodes = 0;    // nodes below the root so far
    qint64 bytesRead = 0;
    ParseError error;
};

ReaderState *stateOf(void *ctx)
{
    // Events of a nested parse (the first use of an entity is checked that way) belong to
    // another context: they are no nodes of the file.
    const auto ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    auto *state = ctxt ? static_cast<ReaderState *>(ctxt->_private) : nullptr;
    return state && state->ctxt == ctxt ? state : nullptr;
}

void countNode(ReaderState &state)
{
    ++state.nodes;
    state.host->stepProgress();
}

// Without entity substitution the parser hands over each "&" of an attribute value (written
// "&amp;" or "&#38;") as "&#38;", so that a tree could parse it again; the row takes the "&".
std::string_view unescapeAmpersands(std::string_view value, std::string &out)
{
    static constexpr std::string_view kEscaped = "&#38;";
    out.clear();
    size_t from = 0;
    for (size_t at = value.find(kEscaped); at != std::string_view::npos;
         at = value.find(kEscaped, from)) {
        out.append(value.substr(from, at - from)).push_back('&');
        from = at + kEscaped.size();
    }
    out.append(value.substr(from));
    return out;
}

int recordTableOf(const char *name)
{
    for (size_t t = 0; t < kRecords.size(); ++t) {
        if (std::strcmp(name, kRecords[t]) == 0)
            return int(t);
    }
    return -1;
}

void startElement(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *, int,
                  const xmlChar **, int nbAttributes, int nbDefaulted, const xmlChar **attributes)
{
    ReaderState *state = stateOf(ctx);
    if (!state)
        return;
    const bool belowRoot = state->depth > 0;
    ++state->depth;
    if (!belowRoot)
        return; // the root itself never becomes a row
    countNode(*state);
    state->inText = false;
    // Names are exact: a prefixed name is another name.
    const int t = prefix ? -1 : state->records.of(localname, recordTableOf);
    if (t < 0)
        return;
    const std::vector<std::string> &captions = state->captions[t];
    const auto columnOf = [&captions](const char *name) {
        for (size_t c = 0; c < captions.size(); ++c) {
            if (captions[c] == name)
                return int(c);
        }
        return -1;
    };
    LogTable &table = *state->targets[t];
    TextPool &pool = table.textPool();
    TextPool::Id ids[kMaxColumns] = {};
    // Attributes that a declaration of the file adds are not the file's own: they are left out.
    const int given = nbAttributes - nbDefaulted;
    for (int a = 0; a < given; ++a) {
        const xmlChar *const *attribute = attributes + 5 * a;
        if (attribute[1]) // prefixed: another name
            continue;
        const int c = state->columns[t].of(attribute[0], columnOf);
        if (c < 0)
            continue;
        const std::string_view value(reinterpret_cast<const char *>(attribute[3]),
                                     size_t(attribute[4] - attribute[3]));
        ids[c] = pool.internUtf8(value.find('&') == std::string_view::npos
                                     ? value
                                     : unescapeAmpersands(value, state->scratch));
    }
    if (state->estimates[t].firstSeenAt < 0)
        state->estimates[t].firstSeenAt = state->bytesRead;
    table.appendRowIds(ids);
}

void endElement(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
{
    if (ReaderState *state = stateOf(ctx)) {
        --state->depth;
        state->inText = false;
    }
}

// Text comes in pieces (buffer ends, references); a run of them is one node.
void text(void *ctx, const xmlChar *, int)
{
    ReaderState *state = stateOf(ctx);
    if (!state || state->depth == 0 || state->inText)
        return;
    countNode(*state);
    state->inText = true;
}

void reference(void *ctx, const xmlChar *)
{
    text(ctx, nullptr, 0);
}

void otherNode(ReaderState *state)
{
    if (!state || state->depth == 0)
        return;
    countNode(*state);
    state->inText = false;
}

void comment(void *ctx, const xmlChar *)
{
    otherNode(stateOf(ctx));
}

void processingInstruction(void *ctx, const xmlChar *, const xmlChar *)
{
    otherNode(stateOf(ctx));
}

void cdataBlock(void *ctx, const xmlChar *, int)
{
    otherNode(stateOf(ctx));
}

void structuredError(void *, xmlErrorPtr error)
{
    if (!error || !error->ctxt)
        return;
    auto *state = static_cast<ReaderState *>(static_cast<xmlParserCtxtPtr>(error->ctxt)->_private);
    if (!state || error->level < XML_ERR_ERROR)
        return;
    // The first fatal error, else the first error.
    if (state->error.set && (state->error.level >= XML_ERR_FATAL || error->level < XML_ERR_FATAL))
        return;
    state->error.set = true;
    state->error.level = error->level;
    // The reason takes one line of the message: "Bytes: ..." lines join it.
    state->error.reason = QString::fromUtf8(error->message ? error->message : "").simplified();
    state->error.line = error->line;
}

// No resource outside the file is ever read.
xmlParserInputPtr refuseExternalEntity(void *, const xmlChar *, const xmlChar *)
{
    return nullptr;
}

xmlSAXHandler makeHandler()
{
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    // The declarations of a document type are kept by libxml2's own handlers (entities are
    // checked there, never expanded here); the content goes to the reader's handlers.
    xmlSAXVersion(&handler, 2);
    handler.resolveEntity = refuseExternalEntity;
    handler.externalSubset = nullptr;
    handler.startElementNs = startElement;
    handler.endElementNs = endElement;
    handler.startElement = nullptr;
    handler.endElement = nullptr;
    handler.characters = text;
    handler.ignorableWhitespace = text;
    handler.reference = reference;
    handler.comment = comment;
    handler.processingInstruction = processingInstruction;
    handler.cdataBlock = cdataBlock;
    handler.serror = structuredError;
    handler.warning = nullptr;
    handler.error = nullptr;
    handler.fatalError = nullptr;
    return handler;
}

// The failing line of the file, decoded as the file is: UTF-16 as a whole, any other
// encoding line by line through the parser's own converters.
QString failingLine(const QString &fileName, int line, const char *encoding)
{
    QFile file(fileName);
    if (line < 1 || !file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray content = file.readAll();
    const auto cut = [](const QString &text) {
        qsizetype end = 0;
        while (end < text.size() && end < kErrorLineExcerpt && text[end] != QLatin1Char('\r') &&
               text[end] != QLatin1Char('\n'))
            ++end;
        return text.left(end);
    };
    const xmlCharEncoding detected =
        xmlDetectCharEncoding(reinterpret_cast<const unsigned char *>(content.constData()),
                              int(qMin<qsizetype>(content.size(), 4)));
    if (detected == XML_CHAR_ENCODING_UTF16LE || detected == XML_CHAR_ENCODING_UTF16BE) {
        QStringDecoder decoder(detected == XML_CHAR_ENCODING_UTF16LE ? QStringConverter::Utf16LE
                                                                     : QStringConverter::Utf16BE);
        const QString whole = decoder.decode(content);
        return cut(whole.section(QLatin1Char('\n'), line - 1, line - 1));
    }
    qsizetype start = 0;
    for (int l = 1; l < line && start >= 0; ++l) {
        start = content.indexOf('\n', start);
        if (start >= 0)
            ++start;
    }
    if (start < 0)
        return QString();
    qsizetype end = content.indexOf('\n', start);
    if (end < 0)
        end = content.size();
    const QByteArray bytes = content.mid(start, end - start);
    xmlCharEncodingHandlerPtr handler = encoding && qstricmp(encoding, "UTF-8") != 0
                                            ? xmlFindCharEncodingHandler(encoding)
                                            : nullptr;
    if (handler) {
        xmlBufferPtr in = xmlBufferCreate();
        xmlBufferPtr out = xmlBufferCreate();
        xmlBufferAdd(in, reinterpret_cast<const xmlChar *>(bytes.constData()), int(bytes.size()));
        QString converted;
        if (xmlCharEncInFunc(handler, out, in) >= 0)
            converted = QString::fromUtf8(reinterpret_cast<const char *>(xmlBufferContent(out)),
                                          xmlBufferLength(out));
        xmlBufferFree(in);
        xmlBufferFree(out);
        xmlCharEncCloseFunc(handler);
        if (!converted.isEmpty())
            return cut(converted);
    }
    return cut(QString::fromUtf8(bytes));
}

void reserveForTheRest(ReaderState &state, qint64 total, qint64 done)
{
    for (int t = 0; t < 4; ++t) {
        LogTable &table = *state.targets[t];
        const qint64 since = state.estimates[t].firstSeenAt;
        if (since < 0 || done <= since || table.count() < 64)
            continue;
        const double expected =
            double(table.count()) * double(total - since) / double(done - since);
        if (expected <= table.reservedRows())
            continue;
        // A quarter more than expected, so that a slightly wrong guess costs no second move.
        // The room is only a guess (a huge file may hold something else than rows): without
        // memory for it, the rows grow as they come.
        try {
            table.reserveRows(int(qMin(expected * 1.25 + 64, double(kUnknownProgressMaximum))));
        } catch (const std::bad_alloc &) {
        }
    }
}

struct ContextDeleter {
    void operator()(xmlParserCtxtPtr ctxt) const
    {
        if (ctxt->myDoc)
            xmlFreeDoc(ctxt->myDoc);
        ctxt->myDoc = nullptr;
        xmlFreeParserCtxt(ctxt);
    }
};

} // namespace

QString ReadLogRecords(const QString &fileName, LogDocument &document, LogFileHost &host)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString());

    ReaderState state;
    state.host = &host;
    LogTable *targets[] = {&document.Flights, &document.Airlines, &document.Airports,
                           &document.Distances};
    for (int t = 0; t < 4; ++t) {
        state.targets[t] = targets[t];
        for (const LogColumn &column : targets[t]->columns())
            state.captions[t].push_back(column.caption.toStdString());
        if (state.captions[t].size() > size_t(kMaxColumns))
            return QStringLiteral("Cannot read \"%1\": a table has too many columns").arg(fileName);
    }

    // The progress maximum is the number of nodes below the root: known at the end, and
    // estimated from the part of the file read until then. While the window is hidden (the
    // start-up file) it is the largest number.
    const bool visible = host.isWindowVisible();
    host.setProgressRange(visible ? 0 : kUnknownProgressMaximum);
    host.setProgressPosition(0);

    xmlInitParser();
    xmlSAXHandler handler = makeHandler();
    QByteArray chunk(kChunkBytes, Qt::Uninitialized);
    qint64 got = file.read(chunk.data(), 4);
    if (got < 0)
        return QStringLiteral("Cannot read \"%1\": %2").arg(fileName, file.errorString());
    const QByteArray encodedName = QFile::encodeName(fileName);
    std::unique_ptr<xmlParserCtxt, ContextDeleter> ctxt(xmlCreatePushParserCtxt(
        &handler, nullptr, chunk.constData(), int(got), encodedName.constData()));
    if (!ctxt)
        return QStringLiteral("Cannot read \"%1\": out of memory").arg(fileName);
    state.ctxt = ctxt.get();
    ctxt->_private = &state;
    xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NONET);

    const qint64 total = file.size();
    try {
        if (total >= kLargeLogBytes)
            document.Flights.textPool().reserveForLargeLog();
        else // about one new text in every 60 bytes of a small log, on small pages
            document.Flights.textPool().reserve(size_t(std::min<qint64>(total / 60, 32'000)));
    } catch (const std::bad_alloc &) {
        // Only room ahead of time: without it, the pool grows as the texts come.
    }
    qint64 done = got;
    bool ended = false;
    while (!ended) {
        got = file.read(chunk.data(), kChunkBytes);
        if (got < 0) {
            document.clearTables();
            return QStringLiteral("Cannot read \"%1\": %2").arg(fileName, file.errorString());
        }
        done += got;
        state.bytesRead = done;
        ended = got == 0;
        if (!ended)
            reserveForTheRest(state, total, done);
        xmlParseChunk(ctxt.get(), chunk.constData(), int(got), ended ? 1 : 0);
        if (!ctxt->wellFormed || ctxt->instate == XML_PARSER_EOF)
            break;
        if (visible && !ended && done > 0 && state.nodes > 0) {
            host.setProgressRange(
                int(qMin<qint64>(kUnknownProgressMaximum - 1, state.nodes * total / done)));
            host.setProgressPosition(int(qMin<qint64>(kUnknownProgressMaximum, state.nodes)));
        }
    }
    if (!ended && ctxt->wellFormed)
        xmlParseChunk(ctxt.get(), nullptr, 0, 1);

    if (!ctxt->wellFormed) {
        document.clearTables();
        const ParseError &error = state.error;
        const QString reason =
            error.set ? error.reason : QStringLiteral("The file is not well-formed XML");
        const int line = error.set ? error.line : (ctxt->input ? ctxt->input->line : 0);
        const char *encoding = reinterpret_cast<const char *>(ctxt->encoding);
        return reason + QLatin1Char('\n') + QStringLiteral("Line: ") + QString::number(line) +
               QLatin1Char('\n') + failingLine(fileName, line, encoding);
    }
    if (visible) {
        host.setProgressRange(int(qMin<qint64>(kUnknownProgressMaximum, state.nodes)));
        host.setProgressPosition(int(qMin<qint64>(kUnknownProgressMaximum, state.nodes)));
    }
    return QString();
}
