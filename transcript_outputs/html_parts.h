// What the report and the comparison pages draw alike: text made safe for
// HTML, a paint's frame as SVG, what earlier paints covered, each paint's
// messages folded, the facts of the systems.
#pragma once

#include <string>
#include <vector>

#include "message_log.h"
#include "transcript_rows.h"

namespace transcript::html {

std::string Escape(const std::string& text);

// The style rules of what Picture and Messages draw, and of a cut-short line.
extern const char kPictureStyle[];

// The list view's client area at this paint; for transcripts that do not
// record it, what the paint itself reached; kept to a size a page holds.
Rect ViewOf(const PaintRow& row);

// For each row, the path of what the rows before it covered.
std::vector<std::string> EarlierPaths(const std::vector<PaintRow>& rows);

// The paint's picture at a scale: the list view's client area, what
// earlier paints covered, the region in its colour, the report outlined.
std::string Picture(const PaintRow& row, const std::string& earlier, double scale);

// The messages of each paint, by its place in the rows: those that led to
// it and those of its handling; what came after the last paint goes with it.
std::vector<std::vector<size_t>> ByPaint(const std::vector<MessageRow>* log, size_t paints);

// A paint's messages, folded, those not alike on the other side marked;
// the summary begins with `label` ("Wine 8.0: 47 messages, 10 differ").
std::string Messages(const std::vector<MessageRow>* log, const std::vector<size_t>& rows, int paint,
                     const std::vector<bool>* marked, const std::string& label = "");

// A recording that ended before its scenario did, said at the top.
std::string CutShort(const std::string& which, const std::string& why);

// The systems' names and facts as a table, each fact unlike the first
// system's marked; empty where no file records any.
std::string FactsTable(const std::vector<std::string>& names,
                       const std::vector<SystemFacts>& facts);

}  // namespace transcript::html
