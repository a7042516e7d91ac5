#include "model/LogFile.h"

#include "model/LogDocument.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <pugixml.hpp>

#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr qint64 kMaxLogFileSize = qint64(1) << 30; // 1 GiB
constexpr int kUnknownProgressMaximum = 2147483647;
constexpr int kErrorLineExcerpt = 40;

const char *const kRoot = "Wingbook";
const char *const kSections[] = {"Flights", "Airlines", "Airports", "Distances"};
const char *const kRecords[] = {"Flight", "Airline", "Airport", "Distance"};

// Keeps the views still while rows are appended, and always lets them go again.
class BulkLoad
{
public:
    BulkLoad(LogDocument &document, LogFileHost &host) : m_document(document), m_host(host)
    {
        m_host.suspendRepaint();
        for (LogTable *t : m_document.tables()) {
            t->clear();
            t->beginBulkLoad();
        }
    }
    ~BulkLoad()
    {
        for (LogTable *t : m_document.tables())
            t->endBulkLoad();
        m_host.resumeRepaint();
    }

private:
    LogDocument &m_document;
    LogFileHost &m_host;
};

class BusyState
{
public:
    BusyState(LogFileHost &host, bool disableToolbar) : m_host(host)
    {
        m_host.beginBusy(disableToolbar);
    }
    ~BusyState() { m_host.endBusy(); }

private:
    LogFileHost &m_host;
};

// Cell texts that repeat (dates, times, codes) share one string.
class TextPool
{
public:
    TextPool() { m_pool.reserve(1 << 16); }

    QString get(const char *utf8)
    {
        const QByteArrayView key(utf8);
        if (key.isEmpty())
            return QString();
        auto it = m_pool.constFind(key);
        if (it != m_pool.constEnd())
            return it.value();
        QString text = QString::fromUtf8(key);
        m_pool.insert(key, text);
        return text;
    }

private:
    // The keys point into the parsed document, which outlives the pool.
    QHash<QByteArrayView, QString> m_pool;
};

int countNodesBelow(const pugi::xml_node &root)
{
    int total = 0;
    std::vector<pugi::xml_node> stack;
    for (pugi::xml_node child = root.last_child(); child; child = child.previous_sibling())
        stack.push_back(child);
    while (!stack.empty()) {
        const pugi::xml_node node = stack.back();
        stack.pop_back();
        if (total < kUnknownProgressMaximum)
            ++total;
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
            stack.push_back(child);
    }
    return total;
}

int recordTableOf(const pugi::xml_node &node)
{
    if (node.type() != pugi::node_element)
        return -1;
    const char *name = node.name();
    for (int t = 0; t < 4; ++t) {
        if (std::strcmp(name, kRecords[t]) == 0)
            return t;
    }
    return -1;
}

// The parser's reason, the line number and the start of the failing line, each on a line.
QString parseErrorMessage(const QString &fileName, const pugi::xml_parse_result &result)
{
    QByteArray original;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        original = file.readAll();
    const qsizetype offset = qBound<qsizetype>(0, qsizetype(result.offset), original.size());
    const qsizetype line = original.left(offset).count('\n') + 1;
    const qsizetype lineStart = original.lastIndexOf('\n', offset - 1) + 1;
    qsizetype lineEnd = lineStart;
    while (lineEnd < original.size() && original[lineEnd] != '\n' && original[lineEnd] != '\r')
        ++lineEnd;
    const QString lineText =
        QString::fromUtf8(original.constData() + lineStart, lineEnd - lineStart);
    return QString::fromUtf8(result.description()) + QLatin1Char('\n') + QStringLiteral("Line: ") +
           QString::number(line) + QLatin1Char('\n') + lineText.left(kErrorLineExcerpt);
}

void walkRecords(const pugi::xml_node &root, LogDocument &document, LogFileHost &host)
{
    LogTable *targets[] = {&document.Flights, &document.Airlines, &document.Airports,
                           &document.Distances};
    std::vector<std::string> captions[4];
    for (int t = 0; t < 4; ++t) {
        for (const LogColumn &column : targets[t]->columns())
            captions[t].push_back(column.caption.toStdString());
    }
    TextPool pool;
    // Depth first in document order, without recursion: a deeply nested file cannot
    // exhaust the stack.
    std::vector<pugi::xml_node> stack;
    for (pugi::xml_node child = root.last_child(); child; child = child.previous_sibling())
        stack.push_back(child);
    while (!stack.empty()) {
        const pugi::xml_node node = stack.back();
        stack.pop_back();
        host.stepProgress();
        const int t = recordTableOf(node);
        if (t >= 0) {
            QStringList cells;
            cells.reserve(qsizetype(captions[t].size()));
            for (const std::string &caption : captions[t])
                cells.append(pool.get(node.attribute(caption.c_str()).value()));
            targets[t]->appendRow(std::move(cells));
        }
        for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
            stack.push_back(child);
    }
}

class SaveFileWriter : public pugi::xml_writer
{
public:
    explicit SaveFileWriter(QSaveFile &file) : m_file(file) {}
    void write(const void *data, size_t size) override
    {
        if (m_file.write(static_cast<const char *>(data), qint64(size)) != qint64(size))
            m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    QSaveFile &m_file;
    bool m_failed = false;
};

void buildTree(pugi::xml_document &tree, LogDocument &document, LogFileHost &host)
{
    pugi::xml_node declaration = tree.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = tree.append_child(kRoot);
    const QList<LogTable *> tables = document.tables();
    for (int t = 0; t < 4; ++t) {
        const LogTable &table = *tables[t];
        pugi::xml_node section = root.append_child(kSections[t]);
        std::vector<std::string> captions;
        for (const LogColumn &column : table.columns())
            captions.push_back(column.caption.toStdString());
        for (int r = 0; r < table.count(); ++r) {
            host.stepProgress();
            pugi::xml_node record = section.append_child(kRecords[t]);
            for (int c = 0; c < table.columnTotal(); ++c) {
                const QString &text = table.row(r).cells[c];
                // The first column is always written; the others only when not empty.
                if (c > 0 && text.isEmpty())
                    continue;
                record.append_attribute(captions[size_t(c)].c_str()) = text.toUtf8().constData();
            }
        }
    }
}

QString writeTree(const pugi::xml_document &tree, const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("Cannot save \"%1\": the file is read-only").arg(fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot save \"%1\": %2").arg(fileName, file.errorString());
    SaveFileWriter writer(file);
    tree.save(writer, "    ", pugi::format_indent, pugi::encoding_utf8);
    if (writer.failed()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Cannot save \"%1\": %2").arg(fileName, reason);
    }
    if (!file.commit())
        return QStringLiteral("Cannot save \"%1\": %2").arg(fileName, file.errorString());
    return QString();
}

} // namespace

QString BackupFileName(const QString &fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return fileName + QStringLiteral(".~");
    return fileName.left(dot) + QStringLiteral(".~") + fileName.mid(dot + 1);
}

LogFileResult OpenXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists() || info.isDir())
        return {};

    BusyState busy(host, true);
    if (info.isFile())
        document.OpenRecent.AddToRecentMenu(fileName, options.RecentlyUsedFileList());
    document.DocumentFileName = fileName;
    document.SaveFileName = fileName;
    host.setOpenDialogFolder(info.absolutePath());
    host.setStatusText(QStringLiteral("Opening ") + fileName);

    pugi::xml_document tree;
    {
        BulkLoad load(document, host);

        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            return {false,
                    QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString())};
        if (file.size() > kMaxLogFileSize)
            return {
                false,
                QStringLiteral("Cannot open \"%1\": the file is larger than 1 GB").arg(fileName)};
        QByteArray content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return {false,
                    QStringLiteral("Cannot read \"%1\": %2").arg(fileName, file.errorString())};
        file.close();

        // Whitespace text is kept (it counts for progress); no DTD is read and no entity
        // beyond the predefined ones is expanded.
        const unsigned parseOptions =
            pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi;
        const pugi::xml_parse_result result = tree.load_buffer_inplace(
            content.data(), size_t(content.size()), parseOptions, pugi::encoding_auto);
        if (!result) {
            tree.reset();
            return {false, parseErrorMessage(fileName, result)};
        }
        const pugi::xml_node root = tree.document_element();
        host.setProgressRange(host.isWindowVisible() ? countNodesBelow(root)
                                                     : kUnknownProgressMaximum);
        host.setProgressPosition(0);
        walkRecords(root, document, host);
        tree.reset();
    }

    document.sortAsOptionsSay(options);
    document.countReferences();
    document.choosePreferredValues();
    host.fillProgress();
    host.updateStatusBar();
    return {};
}

LogFileResult SaveXMLFile(LogDocument &document, const QString &fileName,
                          const WingbookOptions &options, LogFileHost &host)
{
    BusyState busy(host, false);
    host.setProgressRange(document.totalRows());
    host.setProgressPosition(0);
    host.setStatusText(QStringLiteral("Saving ") + fileName);
    document.OpenRecent.AddToRecentMenu(fileName, options.RecentlyUsedFileList());

    pugi::xml_document tree;
    buildTree(tree, document, host);

    if (QFileInfo::exists(fileName)) {
        // A failed backup does not stop the save.
        const QString backup = BackupFileName(fileName);
        QFile::remove(backup);
        QFile::copy(fileName, backup);
    }
    const QString error = writeTree(tree, fileName);
    tree.reset();
    host.updateStatusBar();
    if (!error.isEmpty())
        return {false, error};
    document.setModified(false);
    return {};
}
