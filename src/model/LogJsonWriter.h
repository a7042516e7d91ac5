#pragma once

#include <functional>
#include <string_view>

class LogDocument;

// Receives the output in blocks that end between two rows; returns false when it cannot write.
using JsonSink = std::function<bool(std::string_view)>;

// Writes the log as one indented JSON object: the four tables (each row an object of its cells
// by caption, with "ReferenceCount" in the usage tables) and the four preferred values, keys in
// code-unit order, four spaces a level, exactly as QJsonDocument::Indented writes the same
// object. It reads the ids of the cells, so each distinct text is escaped once and no object is
// built per row. Returns false when the sink failed.
bool WriteLogJson(const LogDocument &document, const JsonSink &sink);
